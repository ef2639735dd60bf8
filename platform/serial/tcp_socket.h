#pragma once
// One TCP connection to a network serial server, shared by the raw TCP and the RFC 2217
// ports. Deadlines are steady-clock seconds (SteadySeconds()), so a time-out counts the
// network's delay too.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/serial/net_address.h"

namespace serial {

// How long opening a network port may take.
struct NetTimeouts {
    double connect = 3.0;    // the TCP connection (name resolution not included)
    double negotiate = 3.0;  // each round of Telnet negotiation or settings acknowledgements
    double settle = 0.2;     // raw TCP: how long to watch for a server turning the connection away
    // A server that serves one connection at a time may still be letting go of this
    // program's last one when the port is opened again at once: for this long, a quick
    // refusal is asked again before it counts as busy.
    double busyRetry = 1.0;
};

// Now on the steady clock, in seconds.
double SteadySeconds();

// Owns its socket: the destructor closes it. Not thread-safe.
class TcpSocket {
  public:
    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Resolves the host and connects within timeoutSeconds, trying each address in turn;
    // sets TCP_NODELAY and keep-alive probes that notice a dead server within seconds.
    // Returns 0, or kErrNoDevice with *detail naming the server ("tcp://h:p: connection
    // refused", "...: connection timed out after 3 s", "...: cannot resolve host 'h': ...").
    int Connect(const NetAddress& address, double timeoutSeconds, std::string* detail);

    // Sends all n bytes before the deadline. 0, or kErrIo when the connection is lost or
    // stays stuck past the deadline; after that every call fails at once.
    int SendAll(const std::uint8_t* data, size_t n, double deadline);

    // Takes what has arrived, up to cap bytes, waiting until the deadline for the first byte.
    // Returns the count, 0 at the deadline, or kErrIo when the server closed or reset the
    // connection (Lost() then tells which); after that every call fails at once.
    int Receive(std::uint8_t* data, size_t cap, double deadline);

    bool Lost() const { return !lost_.empty(); }
    // "connection closed by the server", "connection reset by the server"...; empty while
    // the connection holds.
    const std::string& LostReason() const { return lost_; }
    // Whether the server ended the connection in order (closed rather than reset).
    bool ClosedByServer() const { return closed_; }

  private:
    int Fail(int err);

    int fd_ = -1;
    std::string lost_;
    bool closed_ = false;
};

}  // namespace serial
