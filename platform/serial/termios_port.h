#pragma once
// The real serial line: a tty device (/dev/ttyUSB0, /dev/ttyS0, a pseudo-terminal...) driven
// through termios in raw mode.

#include <memory>
#include <string>

#include "platform/serial/low_latency.h"
#include "platform/serial/port.h"

namespace serial {

// Open takes the device for itself: a second Open of the same device, from this or any other
// program, fails with kErrBusy until the first port is destroyed. The line runs raw with no
// flow control. Errors: kErrNoDevice (missing), kErrPermission (see SerialErrorText),
// kErrBusy, kErrSettings (speed or format the device refuses), kErrOpen (anything else, such
// as a file that is not a tty). Reads and writes on a vanished device give kErrIo.
// Every open asks the driver for low latency; a driver without that setting is left alone.
// LastOpenNotes: on kErrPermission the owner group and its remedy; on kErrBusy, and after a
// successful open that others share, the processes that hold the device (never examined for
// a pseudo-terminal); after a successful open of an FTDI adapter whose latency timer is above
// 1 ms, that timer and its remedy.
// Ports run in real time; the backend keeps only the detail and notes of the last Open.
struct TtyEnvironment {
    std::string sysfsRoot = "/sys";
    std::string procRoot = "/proc";
    TtyIoctl ioctl = SystemIoctl();  // the driver calls of the low-latency request
};

class TermiosBackend final : public Backend {
  public:
    TermiosBackend() = default;
    explicit TermiosBackend(TtyEnvironment env) : env_(std::move(env)) {}
    int Open(const std::string& devicePath, const LineSettings& settings,
             std::unique_ptr<Port>* out) override;
    std::string LastOpenDetail() const override { return detail_; }
    std::vector<OpenNote> LastOpenNotes() const override { return notes_; }

  private:
    // Names the processes holding the device, if any, in an urgent note.
    void NoteHolders(const std::string& devicePath, bool busy);

    TtyEnvironment env_;
    std::string detail_;
    std::vector<OpenNote> notes_;
};

}  // namespace serial
