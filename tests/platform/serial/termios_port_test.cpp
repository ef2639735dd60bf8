// The termios backend against a pseudo-terminal, the test holding the master side as the
// instrument. These tests measure real time.

#include "platform/serial/termios_port.h"

#include <grp.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include <linux/serial.h>

#include "line_ends.h"
#include "platform/serial/low_latency.h"
#include "platform/serial/serial_error.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

using serial_test::Bytes;

// Runs f on a helper thread after ms milliseconds.
std::thread After(int ms, std::function<void()> f) {
    return std::thread([ms, f] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        f();
    });
}

// A pseudo-terminal whose master side the test holds as the instrument.
class Pty : public ::testing::Test {
  protected:
    Pty() {
        char name[128] = {};
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
    }
    ~Pty() override {
        if (helper.joinable()) helper.join();
        port.reset();
        if (master >= 0) close(master);
        close(slave);
    }
    void Open(const serial::LineSettings& s) { ASSERT_EQ(backend.Open(path, s, &port), 0); }
    Bytes Got(size_t n, double timeout) { return serial_test::Got(*port, n, timeout, &elapsed); }
    termios SlaveTermios() const {
        termios t{};
        EXPECT_EQ(tcgetattr(slave, &t), 0);
        return t;
    }
    void MasterWrite(const Bytes& b) const {
        ASSERT_EQ(write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }

    int master = -1;
    int slave = -1;
    std::string path;
    serial::TermiosBackend backend;
    std::unique_ptr<serial::Port> port;
    std::thread helper;
    double elapsed = 0;
};

TEST_F(Pty, SettingsAreAppliedRawWithoutFlowControlAndOpenFailures) {
    struct Case {
        serial::LineSettings settings;
        speed_t speed;
        tcflag_t flags;  // of CSTOPB | PARODD | CMSPAR: a pty carries no parity, so none
    };
    // Even parity twice at the end: some kernels refuse a parity change on a pty that changes
    // nothing else; the second open must not fail on it. Seven bits too: the pty driver
    // reports CS8 and clears PARENB whatever it is given, which is no refusal.
    for (const Case& c : {Case{{19200, serial::kParityEven, 8, 1}, B19200, 0},
                          Case{{9600, serial::kParityOdd, 8, 2}, B9600, CSTOPB},
                          Case{{4800, serial::kParityMark, 8, 1}, B4800, 0},
                          Case{{115200, serial::kParitySpace, 7, 1}, B115200, 0},
                          Case{{9600, serial::kParityEven, 8, 1}, B9600, 0},
                          Case{{9600, serial::kParityEven, 8, 1}, B9600, 0}}) {
        SCOPED_TRACE(testing::Message()
                     << c.settings.baud << " baud, parity " << c.settings.parity);
        port.reset();
        Open(c.settings);
        termios t = SlaveTermios();
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(cfgetispeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & (CSTOPB | PARODD | CMSPAR), c.flags);
        EXPECT_EQ(t.c_cflag & (CSIZE | CRTSCTS | CLOCAL | CREAD),
                  static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
        // No line discipline, no flow control, reads that do not block.
        EXPECT_EQ(std::tuple(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN),
                             t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP), t.c_oflag & OPOST,
                             t.c_cc[VMIN], t.c_cc[VTIME]),
                  std::tuple(0u, 0u, 0u, 0, 0));
        // The real low-latency driver call on a pty: silently nothing.
        EXPECT_TRUE(backend.LastOpenNotes().empty());
    }

    // Open failures, with the port of the last case still open.
    std::unique_ptr<serial::Port> second;
    EXPECT_EQ(backend.Open(path, {19200, 0, 8, 1}, &second), serial::kErrBusy);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(backend.LastOpenDetail().find(path), std::string::npos);
    port.reset();  // closing frees the line
    EXPECT_EQ(backend.Open(path, {19200, 0, 8, 1}, &second), 0);
    second.reset();

    EXPECT_EQ(backend.Open(path, {12345, 0, 8, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(backend.Open(path, {9600, 0, 9, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(backend.Open("/dev/no-such-serial", {9600, 0, 8, 1}, &port), serial::kErrNoDevice);
    EXPECT_NE(backend.LastOpenDetail().find("/dev/no-such-serial"), std::string::npos);
    sys_test::TempDir dir;
    sys_test::WriteFile(dir.Sub("plain"), "x");
    EXPECT_EQ(backend.Open(dir.Sub("plain"), {9600, 0, 8, 1}, &port), serial::kErrOpen);
    EXPECT_EQ(port, nullptr);
}

// Bytes pass untranslated both ways and a flush drops stale ones; a read returns once its
// bytes are in, else on time without busy waiting; the other end closing ends a waiting read
// with an I/O error, and later calls fail at once rather than sitting out their time-out.
TEST_F(Pty, BytesReadsFlushAndTheOtherEndClosing) {
    Open({115200, serial::kParityNone, 8, 1});
    // Bytes a cooked tty would act on: CR, LF, ^C, XON, XOFF, DEL, NUL, 0xFF, ^D, ^Z.
    const Bytes control{0x0D, 0x0A, 0x03, 0x11, 0x13, 0x7F, 0x00, 0xFF, 0x04, 0x1A};
    ASSERT_EQ(port->Write(control.data(), 10), 10);
    EXPECT_EQ(serial_test::ReadUpTo(master, 10, 1000), control);
    MasterWrite(control);
    EXPECT_EQ(Got(10, 1.0), control);

    MasterWrite({0xEE, 0xEE, 0xEE});
    int queued = 0;  // the bytes reach the slave's input queue asynchronously
    for (int i = 0; i < 500 && queued < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ioctl(slave, FIONREAD, &queued);
    }
    ASSERT_EQ(queued, 3);
    ASSERT_EQ(port->FlushInput(), 0);
    MasterWrite({0x01, 0x02});
    EXPECT_EQ(Got(3, 0.2), (Bytes{0x01, 0x02}));

    helper = After(50, [&] { MasterWrite({1, 2, 3, 4}); });
    EXPECT_EQ(Got(4, 0.5), (Bytes{1, 2, 3, 4}));
    EXPECT_GE(elapsed, 0.045);
    EXPECT_LT(elapsed, 0.150);
    helper.join();
    std::clock_t cpu0 = std::clock();
    EXPECT_EQ(Got(8, 0.5), Bytes{});
    EXPECT_LT(static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC, 0.05);
    EXPECT_NEAR(elapsed, 0.5, 0.030);
    MasterWrite({7, 8, 9});
    EXPECT_EQ(Got(8, 0.5), (Bytes{7, 8, 9}));
    EXPECT_NEAR(elapsed, 0.5, 0.030);

    helper = After(50, [fd = master] { close(fd); });
    master = -1;
    Bytes in(8);
    EXPECT_EQ(serial_test::TimedRead(*port, &in, 2.0, &elapsed), serial::kErrIo);
    EXPECT_LT(elapsed, 0.3);
    EXPECT_EQ(serial_test::TimedRead(*port, &in, 2.0, &elapsed), serial::kErrIo);
    EXPECT_LT(elapsed, 0.1);
    EXPECT_EQ(port->Write(in.data(), 8), serial::kErrIo);
}

// The driver calls of the low-latency request, through the backend's seam: a driver with the
// setting gets it, one without (what a pty really answers) is left alone without a word. The
// latency timer comes from a fake sysfs tree named after the pty.
TEST_F(Pty, OpenAsksForLowLatencyAndReportsASlowFtdiTimer) {
    struct Case {
        int getError;  // errno of TIOCGSERIAL, 0 for a driver that has it
        int flags;     // the driver's flags before the open
        int timer;     // latency_timer in the fake tree, -1 for none
        std::vector<std::string> calls;
    };
    const std::string tty = std::filesystem::path(path).filename().string();
    for (const Case& c :
         {Case{0, ASYNC_SPD_HI, 16, {"get", "set 0x2010"}}, Case{0, ASYNC_LOW_LATENCY, 1, {"get"}},
          Case{ENOTTY, 0, -1, {"get"}}, Case{EINVAL, 0, 2, {"get"}}}) {
        SCOPED_TRACE(testing::Message() << "errno " << c.getError << ", timer " << c.timer);
        sys_test::TempDir sysfs;
        if (c.timer >= 0)
            sys_test::WriteFile(sysfs.Sub("class/tty/" + tty + "/device/latency_timer"),
                                std::to_string(c.timer) + "\n");
        std::vector<std::string> calls;
        auto fakeIoctl = [&](int fd, unsigned long request, void* arg) {
            EXPECT_GE(fd, 0);
            auto* info = static_cast<serial_struct*>(arg);
            if (request == TIOCSSERIAL) {
                char set[24];
                std::snprintf(set, sizeof set, "set %#x", info->flags);
                calls.push_back(set);
                return 0;
            }
            calls.push_back("get");
            errno = c.getError;
            info->flags = c.flags;
            return c.getError == 0 ? 0 : -1;
        };
        serial::TermiosBackend lowLatency({sysfs.path(), "/proc", fakeIoctl});
        port.reset();
        ASSERT_EQ(lowLatency.Open(path, {19200, 0, 8, 2}, &port), 0);
        EXPECT_EQ(calls, c.calls);
        // A slow timer goes to the log only: no urgent note.
        std::string notes;
        for (const serial::OpenNote& n : lowLatency.LastOpenNotes())
            notes += (n.urgent ? "!" : "") + n.text + "\n";
        EXPECT_EQ(notes, c.timer > 1 ? serial::LatencyNote(path, c.timer) + "\n" : "");
    }
}

// Opens `file` in a child process, as nobody when the test runs as root (root opens anything):
// the result and the notes ("!" before an urgent one), or "" when the child could not say.
std::string OpenAsNobody(const std::string& file) {
    int fds[2];
    if (pipe(fds) != 0) return "";
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(1);
        serial::TermiosBackend backend;
        std::unique_ptr<serial::Port> port;
        std::string text = std::to_string(backend.Open(file, {9600, 0, 8, 1}, &port));
        for (const serial::OpenNote& n : backend.LastOpenNotes())
            text += (n.urgent ? " !" : " ") + n.text;
        _exit(write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(fds[1]);
    const Bytes text = serial_test::ReadUpTo(fds[0], 4096, 5000);
    close(fds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return "";
    return std::string(text.begin(), text.end());
}

TEST(TermiosBackend, DeviceWithoutPermission) {
    sys_test::TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string group = getgrgid(getegid())->gr_name;
    const std::string denied = std::to_string(serial::kErrPermission) + " !Permission denied: ";
    // Group read and write but not for this user: as root (the file is root's, the opener
    // nobody) mode 0660; else 0060, since the owner's own bits deny the owner first.
    const std::string locked = dir.Sub("ttyLocked");
    for (const auto& [mode, expected] :
         {std::pair{static_cast<mode_t>(geteuid() == 0 ? 0660 : 0060),
                    denied + locked + " belongs to group " + group +
                        "; add your user to it (sudo " + "usermod -aG " + group +
                        " $USER) and log in again"},
          std::pair{static_cast<mode_t>(0),
                    denied + locked + " (group " + group +
                        ", mode 0000) may not be read and written even by its group; ask the "
                        "administrator to give the group read and write access to it"}}) {
        std::filesystem::remove(locked);
        sys_test::WriteFile(locked, "", mode);
        const std::string says = OpenAsNobody(locked);
        if (says.empty()) GTEST_SKIP() << "cannot drop root privileges here";
        EXPECT_EQ(says, expected);
    }
    // Through a COM link the note names the device itself.
    sys_test::Symlink(locked, dir.Sub("COM7"));
    const std::string says = OpenAsNobody(dir.Sub("COM7"));
    EXPECT_EQ(says.find(denied + locked + " "), 0u) << says;
}

}  // namespace
