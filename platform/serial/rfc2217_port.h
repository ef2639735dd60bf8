#pragma once
// An RFC 2217 port ("rfc2217://HOST:PORT"): a serial device server speaking Telnet with the
// COM-PORT-OPTION, which sets its line as this side tells it at every open.

#include <memory>
#include <string>

#include "platform/serial/net_address.h"
#include "platform/serial/port.h"
#include "platform/serial/tcp_socket.h"

namespace serial {

// Connects, negotiates BINARY both ways and COM-PORT-OPTION (this side WILL, the server must
// answer DO), then sets baud rate, data size, parity and stop size and waits for the server
// to confirm each, every wait bounded by timeouts.negotiate. Other options the server offers
// are declined. Returns 0 and stores the port in *out (the caller owns it); on failure a
// negative code, *out unchanged, *detail naming the server:
//   kErrNoDevice  refused, unreachable, unknown host, connect timed out, lost while opening
//   kErrBusy      the server closed or reset the connection at once, said the port is in
//                 use, or never answered the negotiation: another connection has the port
//   kErrOpen      the server refuses COM-PORT-OPTION or binary transmission (not RFC 2217)
//   kErrSettings  a setting was not confirmed, or confirmed with a different value
// On the port: Write escapes 0xFF; Read undoes it and consumes what the server sends besides
// line data (option requests are answered, notifications and acknowledgements dropped);
// FlushInput and FlushOutput send PURGE-DATA without waiting for its acknowledgement, and
// FlushInput drops what has arrived. A lost or reset connection gives kErrIo.
int OpenRfc2217Port(const NetAddress& address, const LineSettings& settings,
                    const NetTimeouts& timeouts, std::unique_ptr<Port>* out, std::string* detail);

}  // namespace serial
