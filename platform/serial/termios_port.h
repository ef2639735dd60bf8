#pragma once
// The real serial line: a tty device (/dev/ttyUSB0, /dev/ttyS0, a pseudo-terminal...) driven
// through termios in raw mode.

#include <memory>
#include <string>

#include "platform/serial/port.h"

namespace serial {

// Open takes the device for itself: a second Open of the same device, from this or any other
// program, fails with kErrBusy until the first port is destroyed. The line runs raw with no
// flow control. Errors: kErrNoDevice (missing), kErrPermission (see SerialErrorText),
// kErrBusy, kErrSettings (speed or format the device refuses), kErrOpen (anything else, such
// as a file that is not a tty). Reads and writes on a vanished device give kErrIo.
// Ports run in real time; the backend keeps only the detail of the last failed Open.
class TermiosBackend final : public Backend {
  public:
    int Open(const std::string& devicePath, const LineSettings& settings,
             std::unique_ptr<Port>* out) override;
    std::string LastOpenDetail() const override { return detail_; }

  private:
    std::string detail_;
};

}  // namespace serial
