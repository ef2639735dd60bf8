// Runs the termios backend against a pseudo-terminal: the test holds the master side and
// plays the instrument. These tests measure real time.

#include "platform/serial/termios_port.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

#include "platform/serial/serial_error.h"
#include "temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

double WallNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double ThreadCpuNow() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

class Pty : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[128] = {};
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
    }
    void TearDown() override {
        port.reset();
        if (master >= 0) close(master);
        close(slave);
    }
    void Open(const serial::LineSettings& s) { ASSERT_EQ(backend.Open(path, s, &port), 0); }
    void MasterWrite(const Bytes& b) {
        ASSERT_EQ(write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }
    Bytes MasterRead(size_t n, int timeoutMs) {
        Bytes b(n);
        size_t got = 0;
        pollfd p{master, POLLIN, 0};
        while (got < n && poll(&p, 1, timeoutMs) > 0) {
            ssize_t k = read(master, b.data() + got, n - got);
            if (k <= 0) break;
            got += static_cast<size_t>(k);
        }
        b.resize(got);
        return b;
    }
    // Bytes written on the master reach the slave's input queue asynchronously.
    void WaitUntilQueued(int count) {
        int queued = 0;
        for (int i = 0; i < 200 && queued < count; ++i) {
            ioctl(slave, FIONREAD, &queued);
            if (queued < count) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(queued, count);
    }

    int master = -1;
    int slave = -1;
    std::string path;
    serial::TermiosBackend backend;
    std::unique_ptr<serial::Port> port;
};

TEST_F(Pty, SettingsAreAppliedRawWithoutFlowControl) {
    Open({19200, serial::kParityEven, 8, 1});
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_EQ(cfgetispeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    // The pty driver clears PARENB (it has no parity bits); PARODD and CMSPAR show the choice.
    EXPECT_FALSE(t.c_cflag & (PARODD | CMSPAR));
    EXPECT_FALSE(t.c_cflag & CRTSCTS);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL | INLCR | ISTRIP));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST_F(Pty, OddParityTwoStopBits) {
    Open({9600, serial::kParityOdd, 8, 2});
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), B9600);
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD));
}

TEST_F(Pty, MarkAndSpaceParity) {
    Open({4800, serial::kParityMark, 8, 1});
    termios t{};
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
    port.reset();
    Open({4800, serial::kParitySpace, 8, 1});
    ASSERT_EQ(tcgetattr(slave, &t), 0);
    EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(CMSPAR));
}

// A pty always reports 8 bits with no parity bit; that must not count as refused settings.
TEST_F(Pty, SevenBitsWithParityIsNotRefusedOnAPty) {
    Open({9600, serial::kParityEven, 7, 1});
}

TEST_F(Pty, RefusesSpeedsAndSizesOutsideTheList) {
    EXPECT_EQ(backend.Open(path, {12345, 0, 8, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(backend.Open(path, {9600, 0, 9, 1}, &port), serial::kErrSettings);
    EXPECT_EQ(port, nullptr);
}

TEST_F(Pty, BytesPassUntranslatedBothWays) {
    Open({115200, serial::kParityNone, 8, 1});
    // Line-discipline specials: CR, LF, ^C, XON, XOFF, DEL, NUL, 0xFF.
    const Bytes specials{0x0D, 0x0A, 0x03, 0x11, 0x13, 0x7F, 0x00, 0xFF, 0x04, 0x1A};
    ASSERT_EQ(port->Write(specials.data(), 10), 10);
    EXPECT_EQ(MasterRead(10, 1000), specials);

    MasterWrite(specials);
    Bytes in(10);
    EXPECT_EQ(port->Read(in.data(), 10, 1.0), 10);
    EXPECT_EQ(in, specials);
}

TEST_F(Pty, ReadReturnsAsSoonAsItsBytesAreIn) {
    Open({19200, serial::kParityNone, 8, 1});
    std::thread instrument([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        MasterWrite({1, 2, 3, 4});
    });
    Bytes in(4);
    double t0 = WallNow();
    int n = port->Read(in.data(), 4, 0.5);
    double elapsed = WallNow() - t0;
    instrument.join();
    EXPECT_EQ(n, 4);
    EXPECT_EQ(in, (Bytes{1, 2, 3, 4}));
    EXPECT_GE(elapsed, 0.045);
    EXPECT_LT(elapsed, 0.150);
    RecordProperty("elapsed_ms", std::to_string(elapsed * 1000));
}

TEST_F(Pty, SilenceTimesOutOnTimeWithoutBusyWaiting) {
    Open({19200, serial::kParityNone, 8, 1});
    Bytes in(8);
    double t0 = WallNow();
    double cpu0 = ThreadCpuNow();
    int n = port->Read(in.data(), 8, 0.5);
    double cpu = ThreadCpuNow() - cpu0;
    double elapsed = WallNow() - t0;
    EXPECT_EQ(n, 0);
    EXPECT_NEAR(elapsed, 0.5, 0.030);
    EXPECT_LT(cpu, 0.05);
    RecordProperty("elapsed_ms", std::to_string(elapsed * 1000));
}

TEST_F(Pty, PartialAnswerReturnsWhatCameWhenTheTimeOutRunsOut) {
    Open({19200, serial::kParityNone, 8, 1});
    MasterWrite({7, 8, 9});
    Bytes in(8, 0);
    double t0 = WallNow();
    int n = port->Read(in.data(), 8, 0.5);
    double elapsed = WallNow() - t0;
    EXPECT_EQ(n, 3);
    EXPECT_EQ(in, (Bytes{7, 8, 9, 0, 0, 0, 0, 0}));
    EXPECT_NEAR(elapsed, 0.5, 0.030);
}

TEST_F(Pty, FlushInputDiscardsStaleBytes) {
    Open({19200, serial::kParityNone, 8, 1});
    MasterWrite({0xEE, 0xEE, 0xEE});
    WaitUntilQueued(3);
    ASSERT_EQ(port->FlushInput(), 0);
    MasterWrite({0x01, 0x02});
    Bytes in(3, 0);
    EXPECT_EQ(port->Read(in.data(), 3, 0.2), 2);
    EXPECT_EQ(in, (Bytes{0x01, 0x02, 0x00}));
}

TEST_F(Pty, SecondOpenIsBusyUntilTheFirstIsClosed) {
    Open({19200, serial::kParityNone, 8, 1});
    std::unique_ptr<serial::Port> second;
    EXPECT_EQ(backend.Open(path, {19200, 0, 8, 1}, &second), serial::kErrBusy);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(backend.LastOpenDetail().find(path), std::string::npos);
    port.reset();
    EXPECT_EQ(backend.Open(path, {19200, 0, 8, 1}, &second), 0);
}

TEST_F(Pty, MasterClosingEndsAWaitingReadWithIoError) {
    Open({19200, serial::kParityNone, 8, 1});
    std::thread hangup([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        close(master);
    });
    Bytes in(8);
    double t0 = WallNow();
    int n = port->Read(in.data(), 8, 2.0);
    double elapsed = WallNow() - t0;
    hangup.join();
    master = -1;
    EXPECT_EQ(n, serial::kErrIo);
    EXPECT_LT(elapsed, 0.3);
    RecordProperty("elapsed_ms", std::to_string(elapsed * 1000));

    // Later calls fail at once rather than sitting out their time-out.
    t0 = WallNow();
    EXPECT_EQ(port->Read(in.data(), 8, 2.0), serial::kErrIo);
    EXPECT_LT(WallNow() - t0, 0.1);
    EXPECT_EQ(port->Write(in.data(), 8), serial::kErrIo);
}

TEST(TermiosBackend, MissingDevice) {
    serial::TermiosBackend backend;
    std::unique_ptr<serial::Port> port;
    EXPECT_EQ(backend.Open("/dev/serial-test-no-such-device", {9600, 0, 8, 1}, &port),
              serial::kErrNoDevice);
    EXPECT_NE(backend.LastOpenDetail().find("No such file"), std::string::npos);
}

TEST(TermiosBackend, NotATerminal) {
    serial_test::TempDir dir;
    serial_test::WriteFile(dir.Sub("plain"), "x");
    serial::TermiosBackend backend;
    std::unique_ptr<serial::Port> port;
    EXPECT_EQ(backend.Open(dir.Sub("plain"), {9600, 0, 8, 1}, &port), serial::kErrOpen);
    EXPECT_EQ(port, nullptr);
}

TEST(TermiosBackend, DeviceWithoutPermission) {
    serial_test::TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string file = dir.Sub("ttyLocked");
    serial_test::WriteFile(file, "");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);

    auto tryOpen = [&] {
        serial::TermiosBackend backend;
        std::unique_ptr<serial::Port> port;
        return backend.Open(file, {9600, 0, 8, 1}, &port);
    };
    if (geteuid() != 0) {
        EXPECT_EQ(tryOpen(), serial::kErrPermission);
        return;
    }
    // Root reads anything: try as an unprivileged user in a child process instead.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(200);
        _exit(-tryOpen());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 200) GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(-WEXITSTATUS(status), serial::kErrPermission);
}

}  // namespace
