#include "log/trace_observer.h"

#include "log/modbus_trace.h"
#include "platform/ui/runtime.h"

namespace conf {

void TraceObserver::TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame,
                                 int length, TraceStyle style) {
    fn_Log_Tx(ui_, port, frame, length, &trace, style);
}

void TraceObserver::TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame,
                                int length, TraceStyle style) {
    fn_Log_Rx(ui_, port, frame, length, &trace, style);
}

void TraceObserver::Popup(const std::string& title, const std::string& text) {
    ui_.MessagePopup(title, text);
}

void TraceObserver::Delay(double seconds) {
    ui_.Delay(seconds);
}

}  // namespace conf
