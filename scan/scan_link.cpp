#include "scan/scan_link.h"

#include "log/modbus_trace.h"
#include "scan/scan_log.h"

namespace scan {

void ScanObserver::TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame,
                                int length, conf::TraceStyle style) {
    conf::fn_Log_Tx(ctx_.ui, port, frame, length, &trace, style);
}

void ScanObserver::TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame,
                               int length, conf::TraceStyle style) {
    conf::fn_Log_Rx(ctx_.ui, port, frame, length, &trace, style);
}

void ScanObserver::Popup(const std::string& title, const std::string& text) {
    ctx_.ui.MessagePopup(title, text);
}

void ScanObserver::Delay(double seconds) {
    ctx_.ui.Delay(seconds);
}

void ScanObserver::PortRecord(const std::string& text) {
    LogWriteAlways(ctx_, text);
}

conf::LinkSession SessionOf(ScanContext& ctx) {
    conf::LinkSession session;
    session.com = &ctx.com;
    session.port = kPort222;
    session.station = ctx.gvIDd;
    session.timeout = conf::kAnswerTimeout;
    return session;
}

}  // namespace scan
