#include "session/context_link.h"

#include "log/event_log.h"
#include "platform/serial/rs232.h"
#include "session/link_controls.h"

namespace conf {

TraceObserver ContextObserver(Context& ctx) {
    return TraceObserver(ctx.ui, [&ctx](const std::string& text) { LogWriteAlways(ctx, text); });
}

LinkSession SessionOf(Context& ctx) {
    LinkSession session;
    session.com = ctx.com;
    session.port = kPort222;
    // Every request goes to the station the control shows at that moment.
    session.station = ID_comm::GV(ctx);
    session.timeout = kAnswerTimeout;
    session.echo = ctx.com != nullptr && ctx.com->Config(kPort222).echo;
    return session;
}

}  // namespace conf
