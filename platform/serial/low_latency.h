#pragma once
// USB serial adapters hold received bytes before the host sees them: the driver's low-latency
// flag and, on FTDI chips, the latency timer (16 ms out of the box) decide for how long.

#include <functional>
#include <string>

namespace serial {

// ioctl(fd, request, arg) as the kernel answers it: 0 or -1 with errno set. Tests put a fake
// in its place to see what the port asks of the driver.
using TtyIoctl = std::function<int(int fd, unsigned long request, void* arg)>;
// The real ioctl.
TtyIoctl SystemIoctl();

// Asks the driver of an open tty for low latency (TIOCGSERIAL, ASYNC_LOW_LATENCY set,
// TIOCSSERIAL). 0 when the flag is set (or was already), 1 when the driver has no such
// setting (pseudo-terminals, some adapters): the port is then left as it was.
int RequestLowLatency(int fd, const TtyIoctl& ioctl);

// The FTDI latency timer of a tty in milliseconds, from
// <sysfsRoot>/class/tty/<name>/device/latency_timer, where <name> is the last part of the
// device's own path (links followed: "/dev/ttyUSB0"). -1 when the tty has none (not an FTDI
// chip) or it cannot be read.
int FtdiLatencyTimer(const std::string& sysfsRoot, const std::string& devicePath);

// The advice for an FTDI tty whose timer is above 1 ms, naming the tty itself (links
// followed); empty at 1 ms or below.
// "/dev/ttyUSB0: FTDI latency timer 16 ms delays every answer; ..."
std::string LatencyNote(const std::string& devicePath, int timerMs);

}  // namespace serial
