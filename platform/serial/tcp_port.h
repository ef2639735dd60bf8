#pragma once
// A raw TCP port: a transparent serial gateway ("tcp://HOST:PORT") that passes bytes as they
// are. The gateway's own serial settings hold; the settings given at open are only
// remembered and reported by Settings().

#include <memory>
#include <string>

#include "platform/serial/net_address.h"
#include "platform/serial/port.h"
#include "platform/serial/tcp_socket.h"

namespace serial {

// Connects to the gateway and watches it for timeouts.settle seconds: a server that turns
// the connection away at once (closes or resets it, or says "Port already in use") has the
// port busy with another connection. Bytes the gateway sends meanwhile are dropped.
// Returns 0 and stores the port in *out (the caller owns it); on failure a negative code,
// *out unchanged and *detail naming the server: kErrNoDevice (refused, unreachable, timed
// out, unknown host), kErrBusy (turned away). On the port a lost or reset connection gives
// kErrIo, as a pulled adapter does.
int OpenTcpPort(const NetAddress& address, const LineSettings& settings,
                const NetTimeouts& timeouts, std::unique_ptr<Port>* out, std::string* detail);

// Whether bytes a server sent when it turned a connection away say the port is taken
// ("Port already in use", "port is busy").
bool SaysPortInUse(const std::string& text);

// How a server ended a connection it had just taken: closed it, or reset it...
std::string HowTurnedAway(const TcpSocket& socket);

// The detail for a server that turned the connection away; `said` is what it sent first.
std::string BusyDetail(const NetAddress& address, const std::string& how, const std::string& said);

}  // namespace serial
