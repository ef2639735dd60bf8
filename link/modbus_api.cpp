#include "link/modbus_api.h"

#include <array>

#include "link/access_mode.h"
#include "link/link_controls.h"
#include "link/modbus_core.h"

namespace conf {

namespace {

constexpr int kAttempts = 3;

void Put16(std::uint8_t* at, unsigned value) {
    at[0] = static_cast<std::uint8_t>(value >> 8 & 0xFF);
    at[1] = static_cast<std::uint8_t>(value & 0xFF);
}

// Station, code and address: the head of every request.
void Head(Context& ctx, std::uint8_t* frame, unsigned code, int address) {
    frame[0] = static_cast<std::uint8_t>(ID_comm::GV(ctx) & 0xFF);
    frame[1] = static_cast<std::uint8_t>(code & 0xFF);
    Put16(frame + 2, static_cast<unsigned>(address));
}

LogStream* Stream(LogStream& s) {
    return s.IsOpen() ? &s : nullptr;
}

int RW16(Context& ctx, LogStream* trace, int code, int address, int countOrValue,
         std::span<std::int16_t> values) {
    std::array<std::uint8_t, 8> frame{};
    Head(ctx, frame.data(), static_cast<unsigned>(code), address);
    Put16(frame.data() + 4, static_cast<unsigned>(countOrValue));
    int r = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        r = fn_Send_MB_MSG_16_A(ctx, kPort222, frame.data(), 8, values, trace);
        if (r == 0) break;
    }
    ctx.gr = r;
    return r;
}

int RW32(Context& ctx, LogStream* trace, unsigned code, int address, int countOrValue,
         std::span<std::int32_t> values) {
    std::array<std::uint8_t, 13> frame{};
    Head(ctx, frame.data(), code, address);
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
        r = fn_Send_MB_MSG_32_A(ctx, kPort222, frame.data(), length, values, trace);
        if (r == 0) break;
    }
    ctx.gr = r;
    return r;
}

}  // namespace

int fn_Modbus_Device_RW_16(Context& ctx, int code, int address, int countOrValue,
                           std::span<std::int16_t> values) {
    return RW16(ctx, Stream(ctx.gpLog), code, address, countOrValue, values);
}

int fn_Modbus_Device_RW_16_CAL(Context& ctx, int code, int address, int countOrValue,
                               std::span<std::int16_t> values) {
    return RW16(ctx, Stream(ctx.gpCAL), code, address, countOrValue, values);
}

int fn_Modbus_Device_RW_32(Context& ctx, unsigned code, int address, int countOrValue,
                           std::span<std::int32_t> values) {
    return RW32(ctx, Stream(ctx.gpLog), code, address, countOrValue, values);
}

int fn_Modbus_Device_RW_32_CAL(Context& ctx, unsigned code, int address, int countOrValue,
                               std::span<std::int32_t> values) {
    return RW32(ctx, Stream(ctx.gpCAL), code, address, countOrValue, values);
}

}  // namespace conf
