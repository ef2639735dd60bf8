#include "link/register_access.h"

#include <algorithm>
#include <array>
#include <vector>

#include "modbus/access_mode.h"

namespace conf {

namespace {

void Put16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8 & 0xFF);
    at[1] = static_cast<std::uint8_t>(value & 0xFF);
}

// Station, code and address: the head of every request.
void Head(const LinkSession& session, std::uint8_t* frame, unsigned code, int address) {
    frame[0] = static_cast<std::uint8_t>(session.station & 0xFF);
    frame[1] = static_cast<std::uint8_t>(code & 0xFF);
    Put16(frame + 2, static_cast<unsigned>(address));
}

bool IsRead(const std::uint8_t* request) {
    return request[1] == enR || request[1] == enRo;
}

// Registers the request asked for.
size_t Asked(const std::uint8_t* request) {
    return static_cast<size_t>(request[4] * 256 + request[5]);
}

}  // namespace

int SendMessage16(const LinkSession& session, LinkObserver& observer,
                  const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                  int length, std::span<std::int16_t> values) {
    std::vector<std::uint8_t> answer;
    const int r = RunTransaction(session, observer, options, streams, request, length, &answer);
    if (r != 0 || !IsRead(request)) return r;
    const size_t n = std::min({static_cast<size_t>(answer[2] / 2), Asked(request), values.size()});
    for (size_t i = 0; i < n; ++i)
        values[i] = static_cast<std::int16_t>(answer[3 + 2 * i] << 8 | answer[4 + 2 * i]);
    return 0;
}

int SendMessage32(const LinkSession& session, LinkObserver& observer,
                  const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                  int length, std::span<std::int32_t> values) {
    std::vector<std::uint8_t> answer;
    const int r = RunTransaction(session, observer, options, streams, request, length, &answer);
    if (r != 0 || !IsRead(request)) return r;
    const size_t n =
        std::min({static_cast<size_t>(answer[2] / 4), Asked(request) / 2, values.size()});
    for (size_t i = 0; i < n; ++i) {
        std::uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k)
            v = v << 8 | answer[3 + 4 * i + k];
        values[i] = static_cast<std::int32_t>(v);
    }
    return 0;
}

int DeviceRW16(const LinkSession& session, LinkObserver& observer,
               const TransactionOptions& options, TraceStreams streams, int code, int address,
               int countOrValue, std::span<std::int16_t> values) {
    std::array<std::uint8_t, 8> frame{};
    Head(session, frame.data(), static_cast<unsigned>(code), address);
    Put16(frame.data() + 4, static_cast<unsigned>(countOrValue));
    int r = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        r = SendMessage16(session, observer, options, streams, frame.data(), 8, values);
        if (r == 0) break;
    }
    return r;
}

int DeviceRW32(const LinkSession& session, LinkObserver& observer,
               const TransactionOptions& options, TraceStreams streams, unsigned code, int address,
               int countOrValue, std::span<std::int32_t> values) {
    std::array<std::uint8_t, 13> frame{};
    Head(session, frame.data(), code, address);
    int length = 8;
    if (code == enWmw || code == enWmw9) {
        Put16(frame.data() + 4, 2);
        frame[6] = 4;
        const auto v = static_cast<std::uint32_t>(countOrValue);
        Put16(frame.data() + 7, v >> 16);
        Put16(frame.data() + 9, v & 0xFFFF);
        length = 13;
    } else {
        Put16(frame.data() + 4, static_cast<unsigned>(2 * countOrValue));
    }
    int r = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        r = SendMessage32(session, observer, options, streams, frame.data(), length, values);
        if (r == 0) break;
    }
    return r;
}

}  // namespace conf
