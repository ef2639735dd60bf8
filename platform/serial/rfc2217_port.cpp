#include "platform/serial/rfc2217_port.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "platform/serial/serial_error.h"
#include "platform/serial/tcp_port.h"
#include "platform/serial/telnet_codec.h"

namespace serial {
namespace {

using telnet::Bytes;

// Where an option stands on one side of the connection (RFC 1143, without the queue).
struct OptionSide {
    bool enabled = false;
    bool pending = false;  // asked for, no answer yet
    bool refused = false;  // asked for and refused
};

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", s);
    return text;
}

const char* ParityName(int rfcParity) {
    static const char* const kNames[] = {"none", "odd", "even", "mark", "space"};
    return rfcParity >= 1 && rfcParity <= 5 ? kNames[rfcParity - 1] : "unknown";
}

// One line setting as sent and as the server confirms it.
struct Setting {
    std::uint8_t code;
    Bytes value;
    const char* name;
};

std::string ValueText(const Setting& s, const Bytes& value) {
    if (s.code == telnet::kSetBaudRate) {
        if (value.size() != 4) return "?";
        unsigned long baud = (static_cast<unsigned long>(value[0]) << 24) |
                             (static_cast<unsigned long>(value[1]) << 16) |
                             (static_cast<unsigned long>(value[2]) << 8) | value[3];
        return std::to_string(baud);
    }
    if (value.size() != 1) return "?";
    if (s.code == telnet::kSetParity) return ParityName(value[0]);
    if (s.code == telnet::kSetStopSize && value[0] == 3) return "1.5";
    return std::to_string(value[0]);
}

class Rfc2217Port final : public Port {
  public:
    Rfc2217Port(const NetAddress& address, const LineSettings& settings)
        : address_(address), settings_(settings) {}

    int Open(const NetTimeouts& timeouts, std::string* detail);

    int Write(const std::uint8_t* data, int n) override;
    int Read(std::uint8_t* data, int n, double timeoutSeconds) override;
    int FlushInput() override;
    int FlushOutput() override;
    const LineSettings& Settings() const override { return settings_; }

  private:
    int Negotiate(double timeout, std::string* detail);
    int ApplySettings(double timeout, std::string* detail);
    // Receives once (waiting until the deadline), decodes, answers what needs an answer.
    // Returns the bytes received, 0 at the deadline, kErrIo when the connection is lost.
    int Pump(double deadline);
    void Handle(const telnet::Event& event, Bytes* replies);
    OptionSide* Us(std::uint8_t option);
    OptionSide* Him(std::uint8_t option);
    int Send(const Bytes& bytes);
    // How the server ended a connection it had just taken.
    std::string TurnedAway() const { return HowTurnedAway(socket_); }
    int TakeReceived(std::uint8_t* data, int n);

    TcpSocket socket_;
    NetAddress address_;
    LineSettings settings_;
    telnet::Decoder decoder_;
    Bytes rx_;            // line data received, not yet read
    bool heard_ = false;  // whether the server has sent any Telnet command
    OptionSide usBinary_, usComPort_, himBinary_;
    std::array<std::optional<Bytes>, 5> acks_;  // confirmed values by setting code 1..4
};

OptionSide* Rfc2217Port::Us(std::uint8_t option) {
    if (option == telnet::kOptionBinary) return &usBinary_;
    if (option == telnet::kOptionComPort) return &usComPort_;
    return nullptr;
}

OptionSide* Rfc2217Port::Him(std::uint8_t option) {
    return option == telnet::kOptionBinary ? &himBinary_ : nullptr;
}

void Rfc2217Port::Handle(const telnet::Event& event, Bytes* replies) {
    heard_ = true;
    auto reply = [&](std::uint8_t verb, std::uint8_t option) {
        Bytes c = telnet::OptionCommand(verb, option);
        replies->insert(replies->end(), c.begin(), c.end());
    };
    if (event.kind == telnet::Event::kSubnegotiation) {
        const Bytes& p = event.payload;
        if (p.size() < 2 || p[0] != telnet::kOptionComPort) return;
        const int code = p[1] - telnet::kServerOffset;
        if (code >= telnet::kSetBaudRate && code <= telnet::kSetStopSize)
            acks_[static_cast<size_t>(code)] = Bytes(p.begin() + 2, p.end());
        // Purge acknowledgements, line and modem state notifications: nothing to do.
        return;
    }
    if (event.kind != telnet::Event::kOption) return;  // NOP, AYT, GA...: nothing to do
    const std::uint8_t option = event.option;
    const bool his = event.verb == telnet::kWill || event.verb == telnet::kWont;
    OptionSide* side = his ? Him(option) : Us(option);
    const bool yes = event.verb == telnet::kWill || event.verb == telnet::kDo;
    const std::uint8_t accept = his ? telnet::kDo : telnet::kWill;
    const std::uint8_t decline = his ? telnet::kDont : telnet::kWont;
    if (yes) {
        if (side == nullptr) {
            reply(decline, option);
            return;
        }
        if (!side->enabled && !side->pending) reply(accept, option);
        side->enabled = true;
        side->pending = false;
        return;
    }
    if (side == nullptr) return;  // off already: nothing to confirm
    if (side->pending) {
        side->refused = true;
    } else if (side->enabled) {
        reply(decline, option);
    }
    side->enabled = false;
    side->pending = false;
}

int Rfc2217Port::Send(const Bytes& bytes) {
    return socket_.SendAll(bytes.data(), bytes.size(), SteadySeconds() + 3.0);
}

int Rfc2217Port::Pump(double deadline) {
    std::uint8_t buffer[1024];
    const int k = socket_.Receive(buffer, sizeof buffer, deadline);
    if (k <= 0) return k;
    std::vector<telnet::Event> events;
    decoder_.Feed(buffer, k, &rx_, &events);
    Bytes replies;
    for (const telnet::Event& e : events)
        Handle(e, &replies);
    if (!replies.empty() && Send(replies) < 0) return kErrIo;
    return k;
}

int Rfc2217Port::Negotiate(double timeout, std::string* detail) {
    Bytes request;
    for (const Bytes& c : {telnet::OptionCommand(telnet::kWill, telnet::kOptionBinary),
                           telnet::OptionCommand(telnet::kDo, telnet::kOptionBinary),
                           telnet::OptionCommand(telnet::kWill, telnet::kOptionComPort)})
        request.insert(request.end(), c.begin(), c.end());
    usBinary_.pending = himBinary_.pending = usComPort_.pending = true;
    if (Send(request) < 0) {
        *detail = BusyDetail(address_, TurnedAway(), "");
        return kErrBusy;
    }
    const double deadline = SteadySeconds() + timeout;
    for (;;) {
        if (usComPort_.refused) {
            *detail = address_.url +
                      ": the server refuses COM-PORT-OPTION: it is no RFC 2217 port (a raw "
                      "TCP port is named tcp://" +
                      address_.url.substr(address_.url.find("://") + 3) + ")";
            return kErrOpen;
        }
        if (usBinary_.refused || himBinary_.refused) {
            *detail = address_.url + ": the server refuses binary transmission";
            return kErrOpen;
        }
        if (usBinary_.enabled && himBinary_.enabled && usComPort_.enabled) return 0;
        const int k = Pump(deadline);
        const std::string said(rx_.begin(), rx_.end());
        if (k < 0) {
            *detail = BusyDetail(address_, TurnedAway(), said);
            return kErrBusy;
        }
        if (k > 0) continue;
        if (!heard_ || SaysPortInUse(said)) {
            *detail = BusyDetail(address_,
                                 "the server did not answer the Telnet negotiation within " +
                                     Seconds(timeout) + " s",
                                 said);
            return kErrBusy;
        }
        const char* missing = !usComPort_.enabled ? "COM-PORT-OPTION" : "binary transmission";
        *detail = address_.url + ": the server did not agree to " + missing + " within " +
                  Seconds(timeout) + " s";
        return kErrOpen;
    }
}

int Rfc2217Port::ApplySettings(double timeout, std::string* detail) {
    const auto baud = static_cast<std::uint32_t>(settings_.baud);
    const Setting wanted[] = {
        {telnet::kSetBaudRate,
         Bytes{static_cast<std::uint8_t>(baud >> 24), static_cast<std::uint8_t>(baud >> 16),
               static_cast<std::uint8_t>(baud >> 8), static_cast<std::uint8_t>(baud)},
         "baud rate"},
        {telnet::kSetDataSize, Bytes{static_cast<std::uint8_t>(settings_.dataBits)}, "data bits"},
        {telnet::kSetParity, Bytes{static_cast<std::uint8_t>(settings_.parity + 1)}, "parity"},
        {telnet::kSetStopSize, Bytes{static_cast<std::uint8_t>(settings_.stopBits)}, "stop bits"},
    };
    Bytes request;
    for (const Setting& s : wanted) {
        Bytes c = telnet::ComPortCommand(s.code, s.value);
        request.insert(request.end(), c.begin(), c.end());
        acks_[s.code].reset();
    }
    auto allConfirmed = [&] {
        return std::all_of(std::begin(wanted), std::end(wanted),
                           [&](const Setting& s) { return acks_[s.code].has_value(); });
    };
    int k = Send(request);
    const double deadline = SteadySeconds() + timeout;
    while (k >= 0 && !allConfirmed()) {
        k = Pump(deadline);
        if (k == 0) break;
    }
    if (k < 0) {
        *detail = address_.url + ": " + socket_.LostReason() + " while setting the line";
        return kErrNoDevice;
    }
    for (const Setting& s : wanted) {
        const std::optional<Bytes>& got = acks_[s.code];
        if (!got) {
            *detail = address_.url + ": the server did not confirm the " + s.name + " within " +
                      Seconds(timeout) + " s";
            return kErrSettings;
        }
        if (*got != s.value) {
            *detail = address_.url + ": the server set the " + s.name + " to " +
                      ValueText(s, *got) + " instead of " + ValueText(s, s.value);
            return kErrSettings;
        }
    }
    return 0;
}

int Rfc2217Port::Open(const NetTimeouts& timeouts, std::string* detail) {
    int rc = socket_.Connect(address_, timeouts.connect, detail);
    if (rc == 0) rc = Negotiate(timeouts.negotiate, detail);
    if (rc == 0) rc = ApplySettings(timeouts.negotiate, detail);
    rx_.clear();  // nothing from before the line was set
    return rc;
}

int Rfc2217Port::TakeReceived(std::uint8_t* data, int n) {
    const int k = std::min(n, static_cast<int>(rx_.size()));
    std::copy_n(rx_.begin(), k, data);
    rx_.erase(rx_.begin(), rx_.begin() + k);
    return k;
}

int Rfc2217Port::Write(const std::uint8_t* data, int n) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    if (n == 0) return 0;
    Bytes escaped;
    escaped.reserve(static_cast<size_t>(n) + 8);
    telnet::AppendEscaped(data, n, &escaped);
    const double deadline = SteadySeconds() + 2.0 * WireTime(settings_, n) + 3.0;
    int rc = socket_.SendAll(escaped.data(), escaped.size(), deadline);
    return rc < 0 ? rc : n;
}

int Rfc2217Port::Read(std::uint8_t* data, int n, double timeoutSeconds) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    if (n == 0) return 0;
    const double deadline = SteadySeconds() + std::max(timeoutSeconds, 0.0);
    int got = TakeReceived(data, n);
    while (got < n) {
        const int k = Pump(deadline);
        got += TakeReceived(data + got, n - got);
        if (k < 0) return got > 0 ? got : k;  // the error shows on the next call
        if (k == 0) break;
    }
    return got;
}

int Rfc2217Port::FlushInput() {
    int rc = Send(telnet::ComPortCommand(telnet::kPurgeData, {telnet::kPurgeReceive}));
    while (rc >= 0) {
        rc = Pump(0.0);  // what has arrived is from before the purge
        if (rc == 0) break;
    }
    rx_.clear();
    return rc < 0 ? kErrIo : 0;
}

int Rfc2217Port::FlushOutput() {
    return Send(telnet::ComPortCommand(telnet::kPurgeData, {telnet::kPurgeTransmit}));
}

}  // namespace

int OpenRfc2217Port(const NetAddress& address, const LineSettings& settings,
                    const NetTimeouts& timeouts, std::unique_ptr<Port>* out, std::string* detail) {
    auto port = std::make_unique<Rfc2217Port>(address, settings);
    int rc = port->Open(timeouts, detail);
    if (rc < 0) return rc;
    *out = std::move(port);
    return 0;
}

}  // namespace serial
