#include "platform/serial/termios_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/serial/open_advice.h"
#include "platform/serial/serial_error.h"

namespace serial {
namespace {

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

double SteadyNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

timespec ToTimespec(double seconds) {
    if (seconds < 0.0) seconds = 0.0;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(seconds);
    ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
    if (ts.tv_nsec >= 1000000000L) ts.tv_nsec = 999999999L;
    return ts;
}

// Waits for `events` on fd for at most `seconds`. ppoll rather than poll: its nanosecond
// time-out keeps the read time-out exact instead of rounded to milliseconds.
int WaitFor(int fd, short events, double seconds, short* revents) {
    pollfd p{fd, events, 0};
    timespec ts = ToTimespec(seconds);
    int r;
    do {
        r = ppoll(&p, 1, &ts, nullptr);
    } while (r < 0 && errno == EINTR);
    *revents = p.revents;
    return r;
}

bool SpeedFor(int baud, speed_t* speed) {
    switch (baud) {
        case 2400:
            *speed = B2400;
            return true;
        case 4800:
            *speed = B4800;
            return true;
        case 9600:
            *speed = B9600;
            return true;
        case 19200:
            *speed = B19200;
            return true;
        case 38400:
            *speed = B38400;
            return true;
        case 57600:
            *speed = B57600;
            return true;
        case 115200:
            *speed = B115200;
            return true;
        default:
            return false;
    }
}

// Character format bits for c_cflag; false for a parity this system cannot produce.
bool FormatFlags(const LineSettings& s, tcflag_t* flags) {
    tcflag_t f = 0;
    switch (s.dataBits) {
        case 5:
            f |= CS5;
            break;
        case 6:
            f |= CS6;
            break;
        case 7:
            f |= CS7;
            break;
        default:
            f |= CS8;
            break;
    }
    if (s.stopBits == 2) f |= CSTOPB;
    switch (s.parity) {
        case kParityOdd:
            f |= PARENB | PARODD;
            break;
        case kParityEven:
            f |= PARENB;
            break;
#ifdef CMSPAR
        case kParityMark:
            f |= PARENB | PARODD | CMSPAR;
            break;
        case kParitySpace:
            f |= PARENB | CMSPAR;
            break;
#else
        case kParityMark:
        case kParitySpace:
            return false;
#endif
        default:
            break;
    }
    *flags = f;
    return true;
}

#ifdef CMSPAR
constexpr tcflag_t kFormatMask = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;
#else
constexpr tcflag_t kFormatMask = CSIZE | CSTOPB | PARENB | PARODD;
#endif

bool IsPseudoTerminal(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    unsigned int m = major(st.st_rdev);
    return m >= 136 && m <= 143;  // Unix98 pty slaves
}

// Some kernels refuse (EINVAL) a pseudo-terminal's settings when nothing would change, as
// when a port is reopened at the settings it was last closed with: that line is set already.
bool PtyAlreadySet(int fd, int err, const termios& wanted) {
    termios now{};
    return err == EINVAL && IsPseudoTerminal(fd) && tcgetattr(fd, &now) == 0 &&
           cfgetospeed(&now) == cfgetospeed(&wanted) &&
           (now.c_cflag & CSTOPB) == (wanted.c_cflag & CSTOPB);
}

int OpenErrorCode(int err) {
    switch (err) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case EIO:  // a built-in port node with no UART behind it
            return kErrNoDevice;
        case EACCES:
        case EPERM:
            return kErrPermission;
        case EBUSY:
            return kErrBusy;
        default:
            return kErrOpen;
    }
}

class TermiosPort final : public Port {
  public:
    TermiosPort(int fd, const LineSettings& settings) : fd_(fd), settings_(settings) {}
    ~TermiosPort() override {
        ioctl(fd_.get(), TIOCNXCL);  // the exclusive flag can outlive this descriptor
    }

    int Write(const std::uint8_t* data, int n) override;
    int Read(std::uint8_t* data, int n, double timeoutSeconds) override;
    int FlushInput() override { return tcflush(fd_.get(), TCIFLUSH) == 0 ? 0 : kErrIo; }
    int FlushOutput() override { return tcflush(fd_.get(), TCOFLUSH) == 0 ? 0 : kErrIo; }
    const LineSettings& Settings() const override { return settings_; }

  private:
    UniqueFd fd_;
    LineSettings settings_;
};

int TermiosPort::Write(const std::uint8_t* data, int n) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    // Without flow control the line always drains; allow twice its wire time plus a second
    // before calling the device stuck.
    const double deadline = SteadyNow() + 2.0 * WireTime(settings_, n) + 1.0;
    int done = 0;
    while (done < n) {
        ssize_t w = write(fd_.get(), data + done, static_cast<size_t>(n - done));
        if (w > 0) {
            done += static_cast<int>(w);
            continue;
        }
        if (w < 0 && errno == EINTR) continue;
        if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return kErrIo;
        short revents = 0;
        int r = WaitFor(fd_.get(), POLLOUT, deadline - SteadyNow(), &revents);
        if (r <= 0 || (revents & (POLLERR | POLLHUP | POLLNVAL))) return kErrIo;
    }
    return n;
}

int TermiosPort::Read(std::uint8_t* data, int n, double timeoutSeconds) {
    if (n < 0 || (n > 0 && data == nullptr)) return kErrArgument;
    if (n == 0) return 0;
    const double deadline = SteadyNow() + std::max(timeoutSeconds, 0.0);
    int got = 0;
    for (;;) {
        short revents = 0;
        int r = WaitFor(fd_.get(), POLLIN, deadline - SteadyNow(), &revents);
        if (r < 0) return got > 0 ? got : kErrIo;
        if (r == 0) return got;  // time-out
        if (revents & POLLNVAL) return got > 0 ? got : kErrIo;
        ssize_t k = read(fd_.get(), data + got, static_cast<size_t>(n - got));
        if (k > 0) {
            got += static_cast<int>(k);
            if (got == n) return got;
            continue;
        }
        if (k < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return got > 0 ? got : kErrIo;
        // A hung-up tty polls readable and reads nothing: report it instead of spinning.
        if (revents & (POLLHUP | POLLERR)) return got > 0 ? got : kErrIo;
        if (SteadyNow() >= deadline) return got;  // readable yet empty: never loop past it
    }
}

}  // namespace

int TermiosBackend::Open(const std::string& devicePath, const LineSettings& settings,
                         std::unique_ptr<Port>* out) {
    detail_.clear();
    notes_.clear();
    speed_t speed = B0;
    tcflag_t format = 0;
    if (CheckLineSettings(settings) != 0 || !SpeedFor(settings.baud, &speed) ||
        !FormatFlags(settings, &format)) {
        detail_ = devicePath + ": unsupported line settings";
        return kErrSettings;
    }

    UniqueFd fd(open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        int err = errno;
        detail_ = devicePath + ": " + std::strerror(err);
        const int code = OpenErrorCode(err);
        if (code == kErrPermission) notes_.push_back({PermissionNote(devicePath), true});
        if (code == kErrBusy) NoteHolders(devicePath, true);
        return code;
    }
    // flock stops every other opener that locks, the same user included.
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        int err = errno;
        detail_ = devicePath + ": " + std::strerror(err) + " (locked by another program)";
        if (err != EWOULDBLOCK) return kErrOpen;
        NoteHolders(devicePath, true);
        return kErrBusy;
    }
    termios tio{};
    if (tcgetattr(fd.get(), &tio) != 0) {
        int err = errno;
        detail_ = devicePath + ": " + std::strerror(err);
        return err == ENOTTY ? kErrOpen : kErrIo;
    }

    // A pseudo-terminal has no wire to carry parity, and some kernels refuse parity changes
    // on one outright: keep the parity to real lines.
    if (IsPseudoTerminal(fd.get()))
        format &= ~static_cast<tcflag_t>(kFormatMask & ~(CSIZE | CSTOPB));
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~static_cast<tcflag_t>(kFormatMask | CRTSCTS);
    tio.c_cflag |= format | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0 ||
        (tcsetattr(fd.get(), TCSANOW, &tio) != 0 && !PtyAlreadySet(fd.get(), errno, tio))) {
        detail_ = devicePath + ": " + std::strerror(errno);
        return kErrSettings;
    }
    // tcsetattr succeeds when any part was taken, and drivers quietly drop what they cannot
    // do: check that the format really took. Not on a pseudo-terminal, which always reports
    // 8 bits without parity since it has no wire to put them on.
    termios applied{};
    if (tcgetattr(fd.get(), &applied) != 0 || cfgetospeed(&applied) != speed ||
        (!IsPseudoTerminal(fd.get()) && (applied.c_cflag & kFormatMask) != format)) {
        detail_ = devicePath + ": the device did not take the line settings";
        return kErrSettings;
    }
    // FTDI and other USB adapters otherwise hold received bytes for milliseconds each.
    RequestLowLatency(fd.get(), env_.ioctl);
    const std::string latency =
        LatencyNote(devicePath, FtdiLatencyTimer(env_.sysfsRoot, devicePath));
    if (!latency.empty()) notes_.push_back({latency, false});
    NoteHolders(devicePath, false);
    tcflush(fd.get(), TCIOFLUSH);  // nothing from before this program opened the line
    // The tty's own guard against programs that do not lock (root is not stopped by it); set
    // last, so a failed open never leaves the tty exclusive.
    ioctl(fd.get(), TIOCEXCL);

    *out = std::make_unique<TermiosPort>(fd.release(), settings);
    return 0;
}

void TermiosBackend::NoteHolders(const std::string& devicePath, bool busy) {
    const std::string note =
        HolderNote(devicePath, FindPortHolders(env_.procRoot, devicePath, getpid()), busy);
    if (!note.empty()) notes_.push_back({note, true});
}

}  // namespace serial
