#pragma once
// The simulated instrument behind a serial device server on the network, on 127.0.0.1: a
// transparent gateway (raw TCP, its serial settings fixed) or a port the client sets up over
// Telnet's COM-PORT-OPTION. One client at a time.

#include <functional>
#include <memory>
#include <string>

#include "platform/serial/line_settings.h"
#include "sim/served_line.h"

namespace sim {

enum class NetProtocol { kNone, kRawTcp, kRfc2217 };

struct NetLineOptions {
    NetProtocol protocol = NetProtocol::kRawTcp;
    int port = 0;  // 0: any free port
    // Raw TCP: the gateway's serial settings, for good. Telnet: the port's settings at the
    // start of every connection, until the client sets its own.
    serial::LineSettings settings;
    double delay = 0.0;  // seconds the network adds to every answer
    // Connections coming and going, as lines for a technician.
    std::function<void(const std::string&)> onNotice;
};

// "tcp" or "rfc2217".
const char* NetProtocolName(NetProtocol protocol);

// Listens on 127.0.0.1 at options.port. Path() is then "tcp://127.0.0.1:PORT" or
// "rfc2217://127.0.0.1:PORT" with the port in use. While a client is connected, another is
// refused: a raw gateway tells it "Port already in use" first. 0, or -1 with the reason in
// *error.
int OpenNetLine(const NetLineOptions& options, std::unique_ptr<ServedLine>* out,
                std::string* error);

}  // namespace sim
