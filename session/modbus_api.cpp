#include "session/modbus_api.h"

#include "link/register_access.h"
#include "session/context_link.h"
#include "session/modbus_core.h"

namespace conf {

namespace {

sys::LogStream* Stream(sys::LogStream& s) {
    return s.IsOpen() ? &s : nullptr;
}

// What an unanswered transaction gives: the result of one refused because the run ends.
constexpr int kStoppedResult = -2000;

bool Stopping(const Context& ctx) {
    return ctx.stop && *ctx.stop != 0;
}

int RW16(Context& ctx, sys::LogStream* trace, int code, int address, int countOrValue,
         std::span<std::int16_t> values) {
    if (Stopping(ctx)) return ctx.gr = kStoppedResult;
    TraceObserver observer = ContextObserver(ctx);
    ctx.gr = DeviceRW16(SessionOf(ctx), observer, EngineOptions(ctx, false), {trace, trace}, code,
                        address, countOrValue, values);
    return ctx.gr;
}

int RW32(Context& ctx, sys::LogStream* trace, unsigned code, int address, int countOrValue,
         std::span<std::int32_t> values) {
    if (Stopping(ctx)) return ctx.gr = kStoppedResult;
    TraceObserver observer = ContextObserver(ctx);
    ctx.gr = DeviceRW32(SessionOf(ctx), observer, EngineOptions(ctx, true), {trace, trace}, code,
                        address, countOrValue, values);
    return ctx.gr;
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
