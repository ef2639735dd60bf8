#include "platform/serial/telnet_codec.h"

#include <cstddef>

namespace serial::telnet {
namespace {

// A subnegotiation longer than this is no COM-PORT-OPTION answer; its tail is dropped so a
// server sending garbage cannot grow memory without end.
constexpr std::size_t kMaxSubnegotiation = 64;

}  // namespace

void AppendEscaped(const std::uint8_t* data, int n, Bytes* out) {
    for (int i = 0; i < n; ++i) {
        out->push_back(data[i]);
        if (data[i] == kIac) out->push_back(kIac);
    }
}

Bytes OptionCommand(std::uint8_t verb, std::uint8_t option) {
    return Bytes{kIac, verb, option};
}

Bytes ComPortCommand(std::uint8_t code, const Bytes& value) {
    Bytes out{kIac, kSb, kOptionComPort, code};
    AppendEscaped(value.data(), static_cast<int>(value.size()), &out);
    out.push_back(kIac);
    out.push_back(kSe);
    return out;
}

void Decoder::Feed(const std::uint8_t* bytes, int n, Bytes* data, std::vector<Event>* events) {
    for (int i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        switch (state_) {
            case kData:
                if (b == kIac)
                    state_ = kAfterIac;
                else
                    data->push_back(b);
                break;
            case kAfterIac:
                if (b == kIac) {
                    data->push_back(kIac);
                    state_ = kData;
                } else if (b == kDo || b == kDont || b == kWill || b == kWont) {
                    verb_ = b;
                    state_ = kAfterVerb;
                } else if (b == kSb) {
                    sub_.clear();
                    state_ = kInSub;
                } else {
                    events->push_back(Event{Event::kCommand, b, 0, {}});
                    state_ = kData;
                }
                break;
            case kAfterVerb:
                events->push_back(Event{Event::kOption, verb_, b, {}});
                state_ = kData;
                break;
            case kInSub:
                if (b == kIac)
                    state_ = kInSubAfterIac;
                else if (sub_.size() < kMaxSubnegotiation)
                    sub_.push_back(b);
                break;
            case kInSubAfterIac:
                if (b == kIac) {
                    if (sub_.size() < kMaxSubnegotiation) sub_.push_back(kIac);
                    state_ = kInSub;
                } else {
                    // IAC SE ends it; any other command ends it too (a broken server), and is
                    // then taken as the command it is.
                    events->push_back(Event{Event::kSubnegotiation, 0, 0, sub_});
                    sub_.clear();
                    state_ = kAfterIac;
                    if (b == kSe)
                        state_ = kData;
                    else
                        --i;
                }
                break;
        }
    }
}

}  // namespace serial::telnet
