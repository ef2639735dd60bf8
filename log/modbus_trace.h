#pragma once
// The Modbus traffic trace: one decoded line per request and per complete response, so that
// a technician can read the traffic in a text editor. Hexadecimal digits are lowercase; CRC
// fields show the two CRC bytes in the order they were sent.

#include <cstdint>
#include <string>

#include "core/context.h"
#include "link/link_observer.h"

namespace ui {
class Runtime;
}

namespace conf {

// Request and response lines in the given style; the Context overloads below are the Paired
// ones. The runtime shows the popup for a code outside the style's table.
int fn_Log_Tx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style);
int fn_Log_Rx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style);

// Request line to `stream` (nothing when it is null). -1 for a function code other than
// 3, 4, 5, 6, 9, 16, after the common fields and a popup.
int fn_Log_Tx(Context& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream);
// Response line, followed by a blank line. -1 for an unknown function code likewise.
int fn_Log_Rx(Context& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream);
namespace Log {

// One line per parameter read, through the event-line writers (so only with the switch on):
// address, the value as four hex digits, the value in decimal, the parameter's name.
int Modbus_R(Context& ctx, int address, int value, int decimal, const std::string& name);
// The low 16 bits of value as four lowercase hex digits.
int DATA16_HEX(int value, std::string* text);
}  // namespace Log

}  // namespace conf
