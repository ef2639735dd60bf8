#include "platform/serial/low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <filesystem>
#include <fstream>

namespace serial {

namespace fs = std::filesystem;

TtyIoctl SystemIoctl() {
    return [](int fd, unsigned long request, void* arg) { return ::ioctl(fd, request, arg); };
}

int RequestLowLatency(int fd, const TtyIoctl& ioctl) {
    serial_struct info{};
    // ENOTTY, EINVAL and the like: a driver without the setting, nothing to change.
    if (ioctl(fd, TIOCGSERIAL, &info) != 0) return 1;
    if ((info.flags & ASYNC_LOW_LATENCY) != 0) return 0;
    info.flags |= ASYNC_LOW_LATENCY;
    return ioctl(fd, TIOCSSERIAL, &info) == 0 ? 0 : 1;
}

int FtdiLatencyTimer(const std::string& sysfsRoot, const std::string& devicePath) {
    std::error_code ec;
    fs::path device = fs::weakly_canonical(devicePath, ec);
    if (ec) device = devicePath;
    const std::string name = device.filename().string();
    if (name.empty()) return -1;
    std::ifstream in(fs::path(sysfsRoot) / "class/tty" / name / "device/latency_timer");
    int ms = -1;
    if (!(in >> ms) || ms < 0) return -1;
    return ms;
}

std::string LatencyNote(const std::string& devicePath, int timerMs) {
    if (timerMs <= 1) return {};
    std::error_code ec;
    const fs::path own = fs::weakly_canonical(devicePath, ec);  // the tty, not a COM link
    return (ec ? devicePath : own.string()) + ": FTDI latency timer " + std::to_string(timerMs) +
           " ms delays every answer; the udev rule of the package "
           "(/usr/lib/udev/rules.d/60-rtu-configurator.rules) sets it to 1 ms: install the "
           "package, then unplug the adapter and plug it in again";
}

}  // namespace serial
