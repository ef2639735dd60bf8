#include "sim/pty_line.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/termios_util.h"

namespace sim {

namespace {

class PtyLine final : public ServedLine {
  public:
    PtyLine(int master, int slave, std::string path)
        : master_(master), slave_(slave), path_(std::move(path)) {}
    ~PtyLine() override {
        close(slave_);
        close(master_);
    }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    int Fd() const override { return master_; }
    const std::string& Path() const override { return path_; }
    LineCheck Check() const override { return LineCheck::kBaudAndStopBits; }

    // The master side reports the slave's termios: the speed and stop bits the program set.
    serial::LineSettings MasterSettings() override {
        serial::LineSettings s;
        termios tio{};
        if (tcgetattr(master_, &tio) != 0) return s;
        s.baud = BaudOf(tio);
        s.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
        return s;
    }
    int Follow(const serial::LineSettings&) override { return 0; }
    bool OutlivesHangUp() const override { return true; }

  private:
    int master_;
    int slave_;
    std::string path_;
};

}  // namespace

int OpenPseudoTerminal(std::unique_ptr<ServedLine>* out, std::string* error) {
    auto fail = [&](const char* what, int fd1, int fd2) {
        const int err = errno;
        if (error) *error = std::string(what) + ": " + std::strerror(err);
        if (fd2 >= 0) close(fd2);
        if (fd1 >= 0) close(fd1);
        return -1;
    };
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) return fail("cannot open a pseudo-terminal", -1, -1);
    if (grantpt(master) != 0 || unlockpt(master) != 0)
        return fail("cannot unlock the pseudo-terminal", master, -1);
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0)
        return fail("cannot name the pseudo-terminal", master, -1);
    const int flags = fcntl(master, F_GETFL);
    if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("cannot set the pseudo-terminal non-blocking", master, -1);
    const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) return fail(name, master, -1);
    // Raw from the start: a cooked slave would echo the answers back as requests. At a speed
    // the programs do not use, so that their first open changes it: a kernel that finds no
    // change it can make refuses the parity a pseudo-terminal drops (EINVAL).
    termios tio{};
    serial::LineSettings unused;
    unused.baud = 38400;
    if (tcgetattr(slave, &tio) != 0 || !MakeRaw(unused, &tio) ||
        tcsetattr(slave, TCSANOW, &tio) != 0)
        return fail("cannot set the pseudo-terminal raw", master, slave);
    *out = std::make_unique<PtyLine>(master, slave, name);
    return 0;
}

}  // namespace sim
