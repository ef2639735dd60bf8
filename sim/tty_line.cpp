#include "sim/tty_line.h"

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/termios_util.h"

namespace sim {

namespace {

class TtyLine final : public ServedLine {
  public:
    TtyLine(int fd, std::string path, const serial::LineSettings& settings)
        : fd_(fd), path_(std::move(path)), settings_(settings) {}
    ~TtyLine() override { close(fd_); }
    TtyLine(const TtyLine&) = delete;
    TtyLine& operator=(const TtyLine&) = delete;

    int Fd() const override { return fd_; }
    const std::string& Path() const override { return path_; }
    LineCheck Check() const override { return LineCheck::kAllFields; }
    // A real port cannot see the master's settings: bytes sent at others arrive garbled and
    // fail their CRC, as on the instrument's own UART.
    serial::LineSettings MasterSettings() override { return settings_; }

    bool OutlivesHangUp() const override { return false; }

    int Follow(const serial::LineSettings& own) override {
        if (own == settings_) return 0;
        termios tio{};
        tcdrain(fd_);  // the last answer goes out at the old settings
        if (tcgetattr(fd_, &tio) != 0 || !MakeRaw(own, &tio) || tcsetattr(fd_, TCSANOW, &tio) != 0)
            return -1;
        settings_ = own;
        return 0;
    }

  private:
    int fd_;
    std::string path_;
    serial::LineSettings settings_;
};

}  // namespace

int OpenSerialDevice(const std::string& path, const serial::LineSettings& settings,
                     std::unique_ptr<ServedLine>* out, std::string* error) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = path + ": " + std::strerror(errno);
        return -1;
    }
    std::string why;
    termios tio{};
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        why = "in use by another program";
    else if (tcgetattr(fd, &tio) != 0)
        why = std::string("not a serial device (") + std::strerror(errno) + ")";
    else if (!MakeRaw(settings, &tio) || tcsetattr(fd, TCSANOW, &tio) != 0)
        why = "does not take " + SettingsText(settings);
    if (!why.empty()) {
        close(fd);
        if (error) *error = path + ": " + why;
        return -1;
    }
    tcflush(fd, TCIOFLUSH);
    *out = std::make_unique<TtyLine>(fd, path, settings);
    return 0;
}

}  // namespace sim
