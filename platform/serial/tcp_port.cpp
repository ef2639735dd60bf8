#include "platform/serial/tcp_port.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/serial/serial_error.h"

namespace serial {
namespace {

// Time allowed for a write the gateway does not take at once: its line may be slow.
double WriteDeadline(const LineSettings& s, int n) {
    return SteadySeconds() + 2.0 * WireTime(s, n) + 3.0;
}

class TcpPort final : public Port {
  public:
    TcpPort(std::unique_ptr<TcpSocket> socket, const LineSettings& settings)
        : socket_(std::move(socket)), settings_(settings) {}

    int Write(const std::uint8_t* data, int n) override {
        if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
        if (n == 0) return 0;
        int rc = socket_->SendAll(data, static_cast<size_t>(n), WriteDeadline(settings_, n));
        return rc < 0 ? rc : n;
    }

    int Read(std::uint8_t* data, int n, double timeoutSeconds) override {
        if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
        if (n == 0) return 0;
        const double deadline = SteadySeconds() + std::max(timeoutSeconds, 0.0);
        int got = 0;
        while (got < n) {
            int k = socket_->Receive(data + got, static_cast<size_t>(n - got), deadline);
            if (k < 0) return got > 0 ? got : k;  // the error shows on the next call
            if (k == 0) break;
            got += k;
        }
        return got;
    }

    // Drops what has arrived; bytes still on their way from the gateway cannot be reached.
    int FlushInput() override {
        std::uint8_t scratch[512];
        for (;;) {
            int k = socket_->Receive(scratch, sizeof scratch, 0.0);
            if (k <= 0) return k;
        }
    }

    // Bytes handed to the connection are on their way: nothing is held back here.
    int FlushOutput() override { return socket_->Lost() ? kErrIo : 0; }

    const LineSettings& Settings() const override { return settings_; }

  private:
    std::unique_ptr<TcpSocket> socket_;
    LineSettings settings_;
};

std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::isprint(static_cast<unsigned char>(c)))
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out.size() > 80 ? out.substr(0, 80) : out;
}

}  // namespace

bool SaysPortInUse(const std::string& text) {
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("in use") != std::string::npos || lower.find("busy") != std::string::npos;
}

std::string BusyDetail(const NetAddress& address, const std::string& how, const std::string& said) {
    std::string text = Printable(said);
    return address.url + ": " + how + (text.empty() ? "" : " (\"" + text + "\")") +
           ": the port is in use by another connection";
}

std::string HowTurnedAway(const TcpSocket& socket) {
    if (socket.ClosedByServer()) return "the server closed the connection at once";
    return "the connection ended at once (" + socket.LostReason() + ")";
}

int OpenTcpPort(const NetAddress& address, const LineSettings& settings,
                const NetTimeouts& timeouts, std::unique_ptr<Port>* out, std::string* detail) {
    auto socket = std::make_unique<TcpSocket>();
    int rc = socket->Connect(address, timeouts.connect, detail);
    if (rc < 0) return rc;

    std::vector<std::uint8_t> early;
    const double deadline = SteadySeconds() + timeouts.settle;
    std::uint8_t chunk[256];
    for (;;) {
        int k = socket->Receive(chunk, sizeof chunk, deadline);
        if (k == 0) break;
        if (k < 0) {
            *detail = BusyDetail(address, HowTurnedAway(*socket),
                                 std::string(early.begin(), early.end()));
            return kErrBusy;
        }
        early.insert(early.end(), chunk, chunk + k);
    }
    const std::string said(early.begin(), early.end());
    if (SaysPortInUse(said) && early.size() < 200) {
        *detail = BusyDetail(address, "the server turned the connection away", said);
        return kErrBusy;
    }
    // What came before the open is dropped, as a local port's open does.
    *out = std::make_unique<TcpPort>(std::move(socket), settings);
    return 0;
}

}  // namespace serial
