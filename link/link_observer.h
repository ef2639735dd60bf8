#pragma once
// What the Modbus core tells the program it runs in, and asks of it. The core writes only its
// own error lines; the program lays out the trace, shows the message boxes and keeps the time
// (a test's virtual clock, or the window's repaint before a wait).

#include <cstdint>
#include <string>

#include "platform/sys/log_stream.h"

namespace conf {

// How a trace is laid out. Paired: the configurators' engine, all six codes, the registers of
// a read answer in pairs. SingleRequest: the scanner's reduced client, codes 3-6 only, the
// byte count of a read answer as four digits and its registers one after the other.
enum class TraceStyle { Paired, SingleRequest };

class LinkObserver {
  public:
    virtual ~LinkObserver() = default;
    // A request about to go out, and a complete answer that passed its check, for the trace
    // stream of the call.
    virtual void TraceRequest(sys::LogStream& trace, int port, const std::uint8_t* frame,
                              int length, TraceStyle style) = 0;
    virtual void TraceAnswer(sys::LogStream& trace, int port, const std::uint8_t* frame, int length,
                             TraceStyle style) = 0;
    // A message box: a refused function code, a line setting out of range.
    virtual void Popup(const std::string& title, const std::string& text) = 0;
    // The settling wait before an answer is read.
    virtual void Delay(double seconds) = 0;
    // Part of the port's open record, for the event log whatever its switches say.
    virtual void PortRecord(const std::string& text) = 0;
};

}  // namespace conf
