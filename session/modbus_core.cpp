#include "session/modbus_core.h"

#include <string>

#include "link/register_access.h"
#include "models/model.h"
#include "session/context_link.h"

namespace conf {

TransactionOptions EngineOptions(Context& ctx, bool wide) {
    TransactionOptions options;
    options.multiWord = wide;
    // Some models need a moment before a multi-word answer.
    options.waitBeforeRead = wide && ctx.model.transactions.wait32 ? 0.05 : 0.0;
    options.style = TraceStyle::Paired;
    options.refusedTitle = ctx.Source("__Modbus_core");
    // Made at every transaction, so without printf: "104.6963 Un-defined Modbus OP".
    options.refusedText = std::to_string(ctx.model.id.programNumber);
    options.refusedText += ".6963 Un-defined Modbus OP";
    return options;
}

int fn_Send_MB_MSG_16_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int16_t> values, sys::LogStream* trace) {
    TraceObserver observer = ContextObserver(ctx);
    LinkSession session = SessionOf(ctx);
    session.port = port;
    return SendMessage16(session, observer, EngineOptions(ctx, false), {trace, trace}, request,
                         length, values);
}

int fn_Send_MB_MSG_32_A(Context& ctx, int port, std::uint8_t* request, int length,
                        std::span<std::int32_t> values, sys::LogStream* trace) {
    TraceObserver observer = ContextObserver(ctx);
    LinkSession session = SessionOf(ctx);
    session.port = port;
    return SendMessage32(session, observer, EngineOptions(ctx, true), {trace, trace}, request,
                         length, values);
}

}  // namespace conf
