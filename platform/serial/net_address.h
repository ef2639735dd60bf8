#pragma once
// Network serial ports: a COM folder link whose target is "rfc2217://HOST:PORT" (a Telnet
// COM-PORT-OPTION server that sets the line as told) or "tcp://HOST:PORT" (a transparent
// gateway whose own serial settings hold). Made with
//   ln -s rfc2217://10.0.0.5:4001 ~/.config/comports/COM20

#include <string>

namespace serial {

enum class Transport {
    kLocal,    // a tty or anything else that is not a network address
    kRawTcp,   // tcp://: bytes pass as they are, line settings are the gateway's own
    kRfc2217,  // rfc2217://: Telnet with COM-PORT-OPTION, line settings set at every open
};

struct NetAddress {
    Transport transport = Transport::kLocal;
    std::string host;  // a name or an address literal, IPv6 without its brackets
    int port = 0;      // 1..65535
    std::string url;   // the text as written, for messages and lists
};

// Parses "rfc2217://HOST:PORT" or "tcp://HOST:PORT" (scheme in any case). HOST is a name,
// an IPv4 literal or an IPv6 literal in brackets ("[::1]", a "%zone" allowed); PORT is
// decimal 1..65535. Nothing may follow the port. Returns false, leaving *out alone, for
// anything else.
bool ParseNetAddress(const std::string& text, NetAddress* out);

// Whether a device path names a network port: the path is such a URL itself, or it is a
// symbolic link whose target (read once, not followed further) is one. Fills *out if so.
bool NetAddressOfDevice(const std::string& devicePath, NetAddress* out);

// The transport a device path uses; kLocal for every path that is not a network port.
Transport TransportOfDevice(const std::string& devicePath);

// The URL a device path names ("rfc2217://10.0.0.5:4001"); empty for a local device.
std::string NetworkUrlOfDevice(const std::string& devicePath);

}  // namespace serial
