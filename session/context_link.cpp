#include "session/context_link.h"

#include "log/event_log.h"
#include "log/modbus_trace.h"
#include "session/link_controls.h"

namespace conf {

void ContextObserver::TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame,
                                   int length, TraceStyle style) {
    fn_Log_Tx(ctx_.ui, port, frame, length, &trace, style);
}

void ContextObserver::TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame,
                                  int length, TraceStyle style) {
    fn_Log_Rx(ctx_.ui, port, frame, length, &trace, style);
}

void ContextObserver::Popup(const std::string& title, const std::string& text) {
    ctx_.ui.MessagePopup(title, text);
}

void ContextObserver::Delay(double seconds) {
    ctx_.ui.Delay(seconds);
}

void ContextObserver::PortRecord(const std::string& text) {
    LogWriteAlways(ctx_, text);
}

LinkSession SessionOf(Context& ctx) {
    LinkSession session;
    session.com = ctx.com;
    session.port = kPort222;
    // Every request goes to the station the control shows at that moment.
    session.station = ID_comm::GV(ctx);
    session.timeout = kAnswerTimeout;
    return session;
}

}  // namespace conf
