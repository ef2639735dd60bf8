#pragma once
// The backend the programs use: network ports (a COM folder link to "rfc2217://HOST:PORT"
// or "tcp://HOST:PORT", or such a URL itself) go to the network ports, every other path to
// the termios backend.

#include <memory>
#include <string>

#include "platform/serial/port.h"
#include "platform/serial/tcp_socket.h"
#include "platform/serial/termios_port.h"

namespace serial {

// Errors as TermiosBackend for local devices, as OpenTcpPort and OpenRfc2217Port for
// network ones; settings outside CheckLineSettings give kErrSettings either way.
// A network port turned away as busy is asked again for timeouts.busyRetry seconds (a server
// may not yet have let go of this program's previous connection). LastOpenDetail names the
// device or the server ("rfc2217://127.0.0.1:4001: connection
// refused"). Ports run in real time; the backend keeps only the detail of the last failure.
class SystemBackend final : public Backend {
  public:
    SystemBackend() = default;
    explicit SystemBackend(const NetTimeouts& timeouts) : timeouts_(timeouts) {}
    SystemBackend(const NetTimeouts& timeouts, TtyEnvironment tty)
        : termios_(std::move(tty)), timeouts_(timeouts) {}

    int Open(const std::string& devicePath, const LineSettings& settings,
             std::unique_ptr<Port>* out) override;
    std::string LastOpenDetail() const override { return detail_; }
    // The termios backend's notes for a local device; none for a network port.
    std::vector<OpenNote> LastOpenNotes() const override { return notes_; }

  private:
    TermiosBackend termios_;
    NetTimeouts timeouts_;
    std::string detail_;
    std::vector<OpenNote> notes_;
};

}  // namespace serial
