#include "sim/telnet_codec.h"

#include <algorithm>

namespace sim {

using namespace telnet;

namespace {

// A subnegotiation longer than any this port knows is nonsense: its end is awaited, then it
// is dropped.
constexpr std::size_t kMaxSub = 64;

// The speeds a serial port takes.
constexpr std::uint32_t kSpeeds[] = {50,   75,   110,  134,  150,   200,   300,   600,    1200,
                                     1800, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

// RFC 2217 numbers parity 1 none, 2 odd, 3 even, 4 mark, 5 space: ours plus one.
constexpr int kParityCodeOffset = 1;

}  // namespace

TelnetCodec::TelnetCodec(const serial::LineSettings& initial) : settings_(initial) {}

void TelnetCodec::Escape(const Bytes& data, Bytes* out) {
    for (std::uint8_t b : data) {
        out->push_back(b);
        if (b == kIac) out->push_back(kIac);
    }
}

LineInput& TelnetCodec::Piece(std::vector<LineInput>* in) {
    if (in->empty() || in->back().purge != 0 || !(in->back().settings == settings_))
        in->push_back(LineInput{settings_, {}, 0});
    return in->back();
}

void TelnetCodec::Receive(const std::uint8_t* bytes, std::size_t n, std::vector<LineInput>* in,
                          Bytes* reply) {
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        switch (state_) {
            case State::kData:
                if (b == kIac)
                    state_ = State::kCommand;
                else
                    Piece(in).data.push_back(b);
                break;
            case State::kCommand:
                state_ = State::kData;
                if (b == kIac) {
                    Piece(in).data.push_back(b);
                } else if (b == kSb) {
                    sub_.clear();
                    subOverflow_ = false;
                    state_ = State::kSub;
                } else if (b == kWill || b == kWont || b == kDo || b == kDont) {
                    verb_ = b;
                    state_ = State::kOption;
                }
                // Anything else (NOP, a stray SE, BREAK, ...) means nothing to this port.
                break;
            case State::kOption:
                Negotiate(verb_, b, reply);
                state_ = State::kData;
                break;
            case State::kSub:
                if (b == kIac) {
                    state_ = State::kSubCommand;
                } else if (sub_.size() < kMaxSub) {
                    sub_.push_back(b);
                } else {
                    subOverflow_ = true;
                }
                break;
            case State::kSubCommand:
                if (b == kIac) {
                    state_ = State::kSub;
                    if (sub_.size() < kMaxSub)
                        sub_.push_back(b);
                    else
                        subOverflow_ = true;
                } else if (b == kSe) {
                    state_ = State::kData;
                    if (!subOverflow_) SubNegotiation(in, reply);
                } else {
                    // A command inside a subnegotiation: the subnegotiation was never ended.
                    state_ = State::kCommand;
                    --i;
                }
                break;
        }
    }
}

void TelnetCodec::Negotiate(std::uint8_t verb, std::uint8_t option, Bytes* reply) {
    const bool known = option == kBinary || option == kComPort;
    bool& us = option == kBinary ? usBinary_ : usComPort_;
    bool& them = option == kBinary ? themBinary_ : themComPort_;
    auto send = [&](std::uint8_t answer) { reply->insert(reply->end(), {kIac, answer, option}); };
    // Agreed options are answered once; a request for what is already in force gets no answer,
    // so that two sides never echo each other for ever.
    switch (verb) {
        case kWill:
            if (!known) {
                send(kDont);
            } else if (!them) {
                them = true;
                send(kDo);
            }
            break;
        case kDo:
            if (!known) {
                send(kWont);
            } else if (!us) {
                us = true;
                send(kWill);
            }
            break;
        case kWont:
            if (known && them) {
                them = false;
                send(kDont);
            }
            break;
        default:  // DONT
            if (known && us) {
                us = false;
                send(kWont);
            }
            break;
    }
}

void TelnetCodec::SubNegotiation(std::vector<LineInput>* in, Bytes* reply) {
    if (sub_.size() < 2 || sub_[0] != kComPort) return;
    const std::uint8_t command = sub_[1];
    const Bytes value(sub_.begin() + 2, sub_.end());
    int purge = 0;
    const Bytes now = Apply(command, value, &purge);
    if (now.empty()) return;
    if (purge != 0) {
        if (in->empty()) in->push_back(LineInput{settings_, {}, 0});
        in->back().purge |= purge;
    }
    reply->insert(reply->end(),
                  {kIac, kSb, kComPort, static_cast<std::uint8_t>(command + kServerOffset)});
    Escape(now, reply);
    reply->insert(reply->end(), {kIac, kSe});
}

Bytes TelnetCodec::Apply(std::uint8_t command, const Bytes& value, int* purge) {
    if (command == kSetBaudRate) {
        if (value.size() != 4) return {};
        const std::uint32_t baud = static_cast<std::uint32_t>(value[0]) << 24 |
                                   static_cast<std::uint32_t>(value[1]) << 16 |
                                   static_cast<std::uint32_t>(value[2]) << 8 | value[3];
        if (std::find(std::begin(kSpeeds), std::end(kSpeeds), baud) != std::end(kSpeeds))
            settings_.baud = static_cast<int>(baud);
        const auto now = static_cast<std::uint32_t>(settings_.baud);
        return {static_cast<std::uint8_t>(now >> 24), static_cast<std::uint8_t>(now >> 16 & 0xFF),
                static_cast<std::uint8_t>(now >> 8 & 0xFF), static_cast<std::uint8_t>(now & 0xFF)};
    }
    if (value.size() != 1) return {};
    const std::uint8_t v = value[0];
    switch (command) {
        case kSetDataSize:
            if (v >= 5 && v <= 8) settings_.dataBits = v;
            return {static_cast<std::uint8_t>(settings_.dataBits)};
        case kSetParity:
            if (v >= 1 && v <= 5) settings_.parity = v - kParityCodeOffset;
            return {static_cast<std::uint8_t>(settings_.parity + kParityCodeOffset)};
        case kSetStopSize:
            // 3 is one and a half stop bits, which this port has not: the answer says so.
            if (v == 1 || v == 2) settings_.stopBits = v;
            return {static_cast<std::uint8_t>(settings_.stopBits)};
        case kSetControl: {
            std::uint8_t* state = nullptr;
            if (v <= 3 || v == 17 || v == 19)
                state = &flow_;
            else if (v <= 6)
                state = &break_;
            else if (v <= 9)
                state = &dtr_;
            else if (v <= 12)
                state = &rts_;
            else if (v <= 18)
                state = &inbound_;
            else
                return {};
            // 0, 4, 7, 10 and 13 ask for a state; the others set one.
            if (v != 0 && v != 4 && v != 7 && v != 10 && v != 13) *state = v;
            return {*state};
        }
        case kPurgeData:
            // 1: the server's receive buffer (what came from the device for the client),
            // 2: its transmit buffer (what came from the client for the device), 3: both.
            if (v < 1 || v > 3) return {};
            if (v & 1) *purge |= kPurgeOutput;
            if (v & 2) *purge |= kPurgeInput;
            return {v};
        default:
            return {};
    }
}

}  // namespace sim
