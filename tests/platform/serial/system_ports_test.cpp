// The system backend's ports, with real time: termios on a pseudo-terminal whose master side
// the test holds as the instrument; and network ports against a scripted server on 127.0.0.1,
// a thread that accepts a connection and plays its part byte by byte, with its own literal
// frames. Waits are bounded and driven by the bytes themselves.

#include <grp.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <thread>
#include <tuple>

#include <linux/serial.h>

#include "platform/serial/low_latency.h"
#include "platform/serial/net_address.h"
#include "platform/serial/rs232.h"
#include "platform/serial/serial_error.h"
#include "platform/serial/system_backend.h"
#include "platform/serial/telnet_codec.h"
#include "platform/serial/termios_port.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

using serial::LineSettings;
using Bytes = std::vector<std::uint8_t>;

// Up to n bytes from fd; fewer when it closes or none come for `ms` milliseconds.
Bytes ReadUpTo(int fd, size_t n, int ms) {
    Bytes b;
    pollfd p{fd, POLLIN, 0};
    while (b.size() < n && poll(&p, 1, ms) > 0) {
        std::uint8_t buf[256];
        ssize_t k = read(fd, buf, std::min(sizeof buf, n - b.size()));
        if (k <= 0) break;
        b.insert(b.end(), buf, buf + k);
    }
    return b;
}

// The test's port, its reads timed.
class PortTest : public ::testing::Test {
  protected:
    // The port's Read of up to n bytes, into `in`; the seconds it took in `elapsed`.
    int Read(size_t n, double timeout) {
        in.assign(n, 0);
        const auto t0 = std::chrono::steady_clock::now();
        const int k = port->Read(in.data(), static_cast<int>(n), timeout);
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        in.resize(static_cast<size_t>(std::max(k, 0)));
        return k;
    }
    // The bytes such a Read gave; a failed Read is a test failure.
    Bytes Got(size_t n, double timeout) {
        EXPECT_GE(Read(n, timeout), 0) << "the read failed";
        return in;
    }
    int Write(const Bytes& b) { return port->Write(b.data(), static_cast<int>(b.size())); }

    std::unique_ptr<serial::Port> port;
    Bytes in;
    double elapsed = 0;
};

// Runs f on a helper thread after ms milliseconds.
std::thread After(int ms, std::function<void()> f) {
    return std::thread([ms, f] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        f();
    });
}

// A pseudo-terminal whose master side the test holds as the instrument.
class Pty : public PortTest {
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
    void MasterWrite(const Bytes& b) const {
        ASSERT_EQ(write(master, b.data(), b.size()), static_cast<ssize_t>(b.size()));
    }

    int master = -1;
    int slave = -1;
    std::string path;
    serial::SystemBackend backend;  // a device path goes to termios
    std::thread helper;
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
        ASSERT_EQ(backend.Open(path, c.settings, &port), 0);
        termios t{};
        ASSERT_EQ(tcgetattr(slave, &t), 0);
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
    ASSERT_EQ(backend.Open(path, {115200, serial::kParityNone, 8, 1}, &port), 0);
    // Bytes a cooked tty would act on: CR, LF, ^C, XON, XOFF, DEL, NUL, 0xFF, ^D, ^Z.
    const Bytes control{0x0D, 0x0A, 0x03, 0x11, 0x13, 0x7F, 0x00, 0xFF, 0x04, 0x1A};
    ASSERT_EQ(port->Write(control.data(), 10), 10);
    EXPECT_EQ(ReadUpTo(master, 10, 1000), control);
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
    EXPECT_EQ(Read(8, 2.0), serial::kErrIo);
    EXPECT_LT(elapsed, 0.3);
    EXPECT_EQ(Read(8, 2.0), serial::kErrIo);
    EXPECT_LT(elapsed, 0.1);
    EXPECT_EQ(Write(Bytes(8, 0)), serial::kErrIo);
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
    const Bytes text = ReadUpTo(fds[0], 4096, 5000);
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

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The client's opening: WILL BINARY, DO BINARY, WILL COM-PORT-OPTION; a server's consent.
const Bytes kHello{0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x2C};
const Bytes kAgree{0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x00, 0xFF, 0xFD, 0x2C};

// IAC SB COM-PORT-OPTION code value IAC SE, as this test writes it.
Bytes Sb(std::uint8_t code, Bytes value) {
    return Cat({{0xFF, 0xFA, 0x2C, code}, value, {0xFF, 0xF0}});
}
Bytes LineCommands(Bytes baud, std::uint8_t parity, std::uint8_t stop) {
    return Cat({Sb(1, baud), Sb(2, {8}), Sb(3, {parity}), Sb(4, {stop})});
}
// The server's confirmations: each command's code plus 100, with the value it was given.
Bytes Confirm(Bytes commands) {
    for (size_t i = 0; i + 3 < commands.size(); ++i)
        if (commands[i] == 0xFF && commands[i + 1] == 0xFA && commands[i + 2] == 0x2C)
            commands[i + 3] += 100;
    return commands;
}

// A socket listening on 127.0.0.1 at a port of the system's choosing.
int ListenLoopback(int backlog, int* port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&a), len), 0);
    EXPECT_EQ(listen(fd, backlog), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

// A server on 127.0.0.1 that plays a script on each connection it accepts, on a thread of
// its own; the script acts on the connection it is given.
class Peer {
  public:
    Peer() : listen_(ListenLoopback(4, &port_)) {}
    ~Peer() {
        Join();
        close(listen_);
    }
    std::string Url(const std::string& scheme) const {
        return scheme + "://127.0.0.1:" + std::to_string(port_);
    }
    // Plays the script on each of the next connections.
    void Serve(std::function<void(Peer&)> script, int connections = 1) {
        Join();
        thread_ = std::thread([this, script, connections] {
            for (int i = 0; i < connections; ++i) {
                pollfd p{listen_, POLLIN, 0};
                if (poll(&p, 1, 5000) <= 0) {
                    ADD_FAILURE() << "no client came";
                    return;
                }
                fd_ = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
                script(*this);
                if (fd_ >= 0) close(fd_);
            }
        });
    }
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

    // The next n bytes from the client; fewer when it closes or 5 s pass.
    Bytes Take(size_t n) { return ReadUpTo(fd_, n, 5000); }
    void Give(const Bytes& b) { send(fd_, b.data(), b.size(), MSG_NOSIGNAL); }
    void Say(const std::string& s) { Give(Bytes(s.begin(), s.end())); }
    // Waits (5 s at most) for the client to hang up.
    void AwaitClose() { Take(1 << 20); }
    // Ends the connection with a reset instead of an orderly close.
    void Reset() {
        linger hard{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        close(fd_);
        fd_ = -1;
    }
    // The RFC 2217 server's part of an open at 19200 8N1, or at the settings given.
    void AcceptRfc2217(const Bytes& line = LineCommands({0, 0, 0x4B, 0}, 1, 1)) {
        EXPECT_EQ(Take(kHello.size()), kHello);
        Give(kAgree);
        EXPECT_EQ(Take(line.size()), line);
        Give(Confirm(line));
    }

  private:
    int port_ = 0;
    int listen_;
    int fd_ = -1;  // the connection being served
    std::thread thread_;
};

// Short negotiation and settle times, and no second asking, keep the refusals quick.
class NetPort : public PortTest {
  protected:
    int Open(const std::string& scheme, const LineSettings& s = {19200, 0, 8, 1}) {
        return backend.Open(server.Url(scheme), s, &port);
    }

    Peer server;
    serial::SystemBackend backend{serial::NetTimeouts{3.0, 0.3, 0.1, 0.0}};
};

// What a text parses to: "<scheme> <host> <port>", or "-" for no network address.
std::string Parsed(const std::string& text) {
    serial::NetAddress a;
    if (!serial::ParseNetAddress(text, &a)) return a.host.empty() ? "-" : "- but filled in";
    const char* scheme = a.transport == serial::Transport::kRfc2217 ? "rfc2217 " : "tcp ";
    return scheme + a.host + " " + std::to_string(a.port) + (a.url == text ? "" : " " + a.url);
}

TEST(NetAddress, TheTwoSchemesAndNothingElseByThemselvesOrAsALinkTarget) {
    for (auto [text, parsed] : std::initializer_list<std::pair<const char*, const char*>>{
             {"rfc2217://10.0.0.5:4001", "rfc2217 10.0.0.5 4001"},
             {"tcp://moxa-7.plant.local:950", "tcp moxa-7.plant.local 950"},
             {"RFC2217://gw:1", "rfc2217 gw 1"},
             {"tcp://[::1]:65535", "tcp ::1 65535"},
             {"tcp://[fe80::1%eth0]:23", "tcp fe80::1%eth0 23"}})
        EXPECT_EQ(Parsed(text), parsed) << text;
    // IPv6 needs its brackets; no port, port 0, out of range or signed; bad host; other schemes.
    for (const char* text :
         {"tcp://::1:4001", "tcp://[::1]4001", "tcp://[10.0.0.5]:1", "rfc2217://10.0.0.5:0",
          "rfc2217://10.0.0.5:65536", "rfc2217://10.0.0.5:+80", "rfc2217://10.0.0.5",
          "rfc2217://:4001", "rfc2217://a..b:4001", "rfc2217://a b:4001", "tcp://10.0.0.5:4001/",
          "telnet://10.0.0.5:23", "/dev/ttyUSB0", ""})
        EXPECT_EQ(Parsed(text), "-") << text;

    // A device path names a network port by itself or by its link's target.
    sys_test::TempDir dir;
    sys_test::Symlink("rfc2217://10.0.0.5:4001", dir.Sub("COM20"));
    sys_test::Symlink("tcp://[::1]:4002", dir.Sub("COM21"));
    sys_test::Symlink("/dev/ttyUSB0", dir.Sub("COM33"));
    sys_test::Symlink(dir.Sub("COM20"), dir.Sub("COM22"));  // links are read once, no further
    sys_test::WriteFile(dir.Sub("COM23"), "rfc2217://10.0.0.5:4001");
    using T = serial::Transport;
    for (auto [path, transport, url] :
         {std::tuple{dir.Sub("COM20"), T::kRfc2217, "rfc2217://10.0.0.5:4001"},
          std::tuple{dir.Sub("COM21"), T::kRawTcp, "tcp://[::1]:4002"},
          std::tuple{std::string("tcp://gw:7"), T::kRawTcp, "tcp://gw:7"},
          std::tuple{dir.Sub("COM33"), T::kLocal, ""}, std::tuple{dir.Sub("COM22"), T::kLocal, ""},
          std::tuple{dir.Sub("COM23"), T::kLocal, ""},
          std::tuple{dir.Sub("none"), T::kLocal, ""}}) {
        EXPECT_EQ(serial::TransportOfDevice(path), transport) << path;
        EXPECT_EQ(serial::NetworkUrlOfDevice(path), url) << path;
    }
}

// Data escaping is checked on the wire by the RFC 2217 port tests.
TEST(TelnetCodec, EscapesCommandValuesAndDecodesWhereverTheReadsAreCut) {
    namespace telnet = serial::telnet;
    EXPECT_EQ(telnet::ComPortCommand(1, {0x00, 0x00, 0xFF, 0x10}),
              (Bytes{0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0x10, 0xFF, 0xF0}));

    // Data with an escaped 0xFF, an option, a NOP, a subnegotiation holding an escaped 0xFF,
    // and a subnegotiation cut short by a command.
    const Bytes stream{0x10, 0xFF, 0xFF, 0x11, 0xFF, 0xFD, 0x18, 0xFF, 0xF1, 0x12,
                       0xFF, 0xFA, 0x2C, 0x65, 0x00, 0xFF, 0xFF, 0xFF, 0xF0, 0x13,
                       0xFF, 0xFA, 0x2C, 0x6B, 0xFF, 0xFB, 0x01, 0x14};
    for (size_t chunk : {stream.size(), size_t{1}, size_t{2}, size_t{3}}) {
        SCOPED_TRACE(chunk);
        telnet::Decoder decoder;
        Bytes out;
        std::vector<telnet::Event> events;
        for (size_t i = 0; i < stream.size(); i += chunk)
            decoder.Feed(stream.data() + i, static_cast<int>(std::min(chunk, stream.size() - i)),
                         &out, &events);
        EXPECT_EQ(out, (Bytes{0x10, 0xFF, 0x11, 0x12, 0x13, 0x14}));
        using E = telnet::Event;
        EXPECT_EQ(events, (std::vector<E>{{E::kOption, telnet::kDo, 0x18, {}},
                                          {E::kCommand, 0xF1, 0, {}},
                                          {E::kSubnegotiation, 0, 0, {0x2C, 0x65, 0x00, 0xFF}},
                                          {E::kSubnegotiation, 0, 0, {0x2C, 0x6B}},
                                          {E::kOption, telnet::kWill, 0x01, {}}}));
    }
}

// The bytes an open sends for each line setting the suite uses (19200 8N1 is every other
// test's), and the settings kept.
TEST_F(NetPort, Rfc2217OpenNegotiatesThenSetsTheLine) {
    const struct {
        LineSettings settings;
        Bytes baud;
        std::uint8_t parity, stop;
    } cases[] = {{{19200, 0, 8, 2}, {0x00, 0x00, 0x4B, 0x00}, 1, 2},
                 {{9600, serial::kParityOdd, 8, 1}, {0x00, 0x00, 0x25, 0x80}, 2, 1},
                 {{4800, serial::kParityEven, 8, 1}, {0x00, 0x00, 0x12, 0xC0}, 3, 1},
                 {{2400, 0, 8, 2}, {0x00, 0x00, 0x09, 0x60}, 1, 2},
                 {{115200, serial::kParityMark, 8, 1}, {0x00, 0x01, 0xC2, 0x00}, 4, 1},
                 {{57600, serial::kParitySpace, 8, 1}, {0x00, 0x00, 0xE1, 0x00}, 5, 1}};
    for (const auto& [settings, baud, parity, stop] : cases) {
        SCOPED_TRACE(settings.baud);
        server.Serve([&](Peer& p) {
            p.AcceptRfc2217(LineCommands(baud, parity, stop));
            p.AwaitClose();
        });
        ASSERT_EQ(Open("rfc2217", settings), 0) << backend.LastOpenDetail();
        EXPECT_EQ(port->Settings(), settings);
        port.reset();
        server.Join();
    }
}

// Line data both ways with 0xFF escaped, an escape cut between two reads, the server's own
// option requests declined and its notifications dropped, purges sent without a wait.
TEST_F(NetPort, Rfc2217CarriesDataAndKeepsTelnetOutOfIt) {
    Bytes fromClient;
    server.Serve([&](Peer& p) {
        p.Give(Cat({{0xFF, 0xFB, 0x01, 0xFF, 0xFB, 0x03}, kAgree}));  // WILL ECHO, WILL SGA
        EXPECT_EQ(p.Take(kHello.size()), kHello);
        EXPECT_EQ(p.Take(6), (Bytes{0xFF, 0xFE, 0x01, 0xFF, 0xFE, 0x03}));  // DONT, DONT
        Bytes line = LineCommands({0x00, 0x00, 0x4B, 0x00}, 1, 1);
        EXPECT_EQ(p.Take(line.size()), line);
        p.Give(Cat({{0x77}, Confirm(line)}));  // a byte from before the open: dropped
        fromClient = p.Take(9);
        p.Give(Cat({{0x10}, Sb(107, {0x30}), {0xFF, 0xFD, 0x05, 0xFF, 0xF1, 0x11, 0xFF}}));
        EXPECT_EQ(p.Take(3), (Bytes{0xFF, 0xFC, 0x05}));  // WONT for the DO
        EXPECT_EQ(p.Take(1), (Bytes{0x55}));              // the client's go-ahead
        p.Give({0xFF, 0x20});
        p.Give({0xAA, 0xBB, 0xCC});
        EXPECT_EQ(p.Take(14), Cat({Sb(12, {1}), Sb(12, {2})}));
        p.Give(Cat({Sb(112, {1}), {0x01, 0x02}}));
        p.AwaitClose();
    });
    ASSERT_EQ(Open("rfc2217"), 0) << backend.LastOpenDetail();
    EXPECT_EQ(Write({0x01, 0xFF, 0x03, 0xFF, 0xFF, 0x04}), 6);
    EXPECT_EQ(Got(4, 0.3), (Bytes{0x10, 0x11}));  // the 0xFF's escape is still on its way
    EXPECT_EQ(Write({0x55}), 1);
    EXPECT_EQ(Got(2, 2.0), (Bytes{0xFF, 0x20}));
    EXPECT_EQ(Got(1, 2.0), (Bytes{0xAA}));
    EXPECT_EQ(port->FlushInput(), 0);  // drops 0xBB 0xCC
    EXPECT_EQ(port->FlushOutput(), 0);
    // The purge's acknowledgement is no line data.
    EXPECT_EQ(Got(2, 2.0), (Bytes{0x01, 0x02}));
    port.reset();
    server.Join();
    EXPECT_EQ(fromClient, (Bytes{0x01, 0xFF, 0xFF, 0x03, 0xFF, 0xFF, 0xFF, 0xFF, 0x04}));
}

// What a server that will not serve this program does, and what the open then says.
TEST_F(NetPort, OpenFailuresNameTheServerAndTheReason) {
    struct Case {
        const char* name;
        const char* scheme;
        std::function<void(Peer&)> script;
        int code;
        const char* says;
    };
    const Bytes line = LineCommands({0x00, 0x00, 0x4B, 0x00}, 1, 1);
    const std::string inUse = "the port is in use by another connection";
    // After the client's opening: `then`; or an answer, then a wait for it to give up.
    auto after = [](std::function<void(Peer&)> then) {
        return [then](Peer& p) {
            p.Take(kHello.size());
            then(p);
        };
    };
    auto answer = [&](Bytes reply) {
        return after([reply](Peer& p) {
            p.Give(reply);
            p.AwaitClose();
        });
    };
    // After the client's settings: confirm them as `edit` makes them.
    auto confirm = [&](std::function<void(Bytes*)> edit) {
        return after([&line, edit](Peer& p) {
            p.Give(kAgree);
            p.Take(line.size());
            Bytes confirmations = Confirm(line);
            edit(&confirmations);
            p.Give(confirmations);
            p.AwaitClose();
        });
    };
    auto busy = [](Peer& p) { p.Say("Port already in use\r\n"); };
    for (const Case& c : std::vector<Case>{
             {"DONT COM-PORT-OPTION", "rfc2217",
              answer({0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x00, 0xFF, 0xFE, 0x2C}), serial::kErrOpen,
              "refuses COM-PORT-OPTION"},
             {"WONT BINARY", "rfc2217", answer({0xFF, 0xFC, 0x00}), serial::kErrOpen,
              "refuses binary transmission"},
             {"only BINARY", "rfc2217", answer({0xFF, 0xFD, 0x00, 0xFF, 0xFB, 0x00}),
              serial::kErrOpen, "did not agree to COM-PORT-OPTION within 0.3 s"},
             {"silent", "rfc2217", &Peer::AwaitClose, serial::kErrBusy,
              "did not answer the Telnet negotiation within 0.3 s"},
             {"closes at once", "rfc2217", after([](Peer&) {}), serial::kErrBusy,
              "the server closed the connection at once"},
             {"resets at once", "rfc2217", after(&Peer::Reset), serial::kErrBusy,
              "connection reset by the server"},
             {"ser2net busy", "rfc2217", after(busy), serial::kErrBusy,
              "(\"Port already in use\")"},
             {"ser2net busy, raw", "tcp", busy, serial::kErrBusy, "(\"Port already in use\")"},
             {"closes at once, raw", "tcp", [](Peer&) {}, serial::kErrBusy,
              "the server closed the connection at once"},
             {"other baud", "rfc2217",
              confirm([](Bytes* b) { (*b)[6] = 0x25; }),  // 0x00004B00 becomes 9472
              serial::kErrSettings, "set the baud rate to 9472 instead of 19200"},
             {"other parity", "rfc2217", confirm([](Bytes* b) { (*b)[21] = 3; }),
              serial::kErrSettings, "set the parity to even instead of none"},
             {"no baud rate confirmed", "rfc2217",
              confirm([](Bytes* b) { b->erase(b->begin(), b->begin() + 10); }),
              serial::kErrSettings, "did not confirm the baud rate within 0.3 s"}}) {
        SCOPED_TRACE(c.name);
        server.Serve(c.script);
        EXPECT_EQ(Open(c.scheme), c.code);
        EXPECT_EQ(port, nullptr);
        const std::string detail = backend.LastOpenDetail();
        EXPECT_EQ(detail.rfind(server.Url(c.scheme) + ": ", 0), 0u) << detail;
        EXPECT_NE(detail.find(c.says), std::string::npos) << detail;
        EXPECT_EQ(detail.find(inUse) != std::string::npos, c.code == serial::kErrBusy) << detail;
        server.Join();
    }
}

TEST_F(NetPort, UnreachableServersReadLikeAMissingAdapter) {
    const std::string refused = Peer().Url("rfc2217");  // nobody listens there any more
    EXPECT_EQ(backend.Open(refused, {19200, 0, 8, 1}, &port), serial::kErrNoDevice);
    EXPECT_EQ(backend.LastOpenDetail(), refused + ": connection refused");
    // Through a COM number, as the programs open it, a folder link to the URL says the same.
    sys_test::TempDir dir;
    sys_test::Symlink(refused, dir.Sub("COM21"));
    serial::Rs232 rs{backend, serial::ComMapEnv{dir.path(), nullptr}};
    EXPECT_EQ(rs.OpenComConfig(222, "COM21", 19200, 0, 8, 2), serial::kErrNoDevice);
    EXPECT_NE(rs.LastErrorDetail().find("[" + refused + ": connection refused]"), std::string::npos)
        << rs.LastErrorDetail();
    EXPECT_EQ(backend.Open("tcp://no-such-host.invalid:4001", {9600, 0, 8, 1}, &port),
              serial::kErrNoDevice);
    EXPECT_NE(backend.LastOpenDetail().find("tcp://no-such-host.invalid:4001: cannot resolve "
                                            "host 'no-such-host.invalid'"),
              std::string::npos);
    EXPECT_EQ(backend.Open(server.Url("tcp"), {12345, 0, 8, 1}, &port), serial::kErrSettings);

    // A server whose queue of unaccepted connections is full drops the next one's SYN.
    int queuePort = 0;
    int full = ListenLoopback(0, &queuePort);
    const std::string url = "tcp://127.0.0.1:" + std::to_string(queuePort);
    serial::SystemBackend quick{serial::NetTimeouts{0.3, 0.3, 0.05, 0.0}};
    std::vector<std::unique_ptr<serial::Port>> queued(3);
    int rc = 0;
    for (auto& q : queued)
        if ((rc = quick.Open(url, {9600, 0, 8, 1}, &q)) != 0) break;
    close(full);
    EXPECT_EQ(rc, serial::kErrNoDevice);
    EXPECT_EQ(quick.LastOpenDetail(), url + ": connection timed out after 0.3 s");
}

// Raw TCP: bytes pass untouched, the settings are only remembered, reads keep their time.
TEST_F(NetPort, RawTcpPassesBytesAsTheyAre) {
    server.Serve([](Peer& p) {
        EXPECT_EQ(p.Take(4), (Bytes{0x01, 0xFF, 0x0D, 0x00}));
        p.Give({0xFF, 0xFF, 0x0A, 0x99, 0x98});
        EXPECT_EQ(p.Take(1), (Bytes{0x55}));
        p.Give({0x07});
        p.AwaitClose();
    });
    ASSERT_EQ(Open("tcp", {9600, serial::kParityEven, 8, 1}), 0) << backend.LastOpenDetail();
    EXPECT_EQ(port->Settings(), (LineSettings{9600, serial::kParityEven, 8, 1}));
    EXPECT_EQ(Write({0x01, 0xFF, 0x0D, 0x00}), 4);
    EXPECT_EQ(Got(4, 2.0), (Bytes{0xFF, 0xFF, 0x0A, 0x99}));
    EXPECT_EQ(port->FlushInput(), 0);  // 0x98 arrived with the rest: dropped
    EXPECT_EQ(port->FlushOutput(), 0);
    EXPECT_EQ(Got(4, 0.2), Bytes{});
    EXPECT_GE(elapsed, 0.2);
    EXPECT_LT(elapsed, 0.3);
    EXPECT_EQ(Write({0x55}), 1);
    EXPECT_EQ(Got(4, 0.3), Bytes{0x07});
    EXPECT_GE(elapsed, 0.3);  // fewer than asked: the whole time-out
    EXPECT_LT(elapsed, 0.4);
}

// A server still busy with the last connection for a moment is asked again, and serves. The
// connection it then resets or closes under a waiting read: the read ends at once with an I/O
// error, as for a pulled adapter, and so does every later call.
TEST_F(NetPort, AQuickRefusalIsAskedAgainALostConnectionGivesIoErrorAtOnce) {
    serial::SystemBackend patient{serial::NetTimeouts{3.0, 0.3, 0.1, 1.0}};
    for (const std::string scheme : {"rfc2217", "tcp"}) {
        for (bool reset : {true, false}) {
            SCOPED_TRACE(scheme + (reset ? " reset" : " closed"));
            int connection = 0;
            server.Serve(
                [&](Peer& p) {
                    if (reset && ++connection < 3) return p.Say("Port already in use\r\n");
                    if (scheme == "rfc2217") p.AcceptRfc2217();
                    p.Take(1);
                    p.Give({0x33});
                    if (reset) p.Reset();
                },
                reset ? 3 : 1);
            ASSERT_EQ(patient.Open(server.Url(scheme), {19200, 0, 8, 1}, &port), 0)
                << patient.LastOpenDetail();
            ASSERT_EQ(Write({0x01}), 1);
            EXPECT_EQ(Got(4, 2.0), Bytes{0x33});  // what came first, then the error
            for (int call = 0; call < 2; ++call)
                EXPECT_EQ(Read(4, 2.0), serial::kErrIo);
            EXPECT_LT(elapsed, 0.1);
            EXPECT_EQ(Write({0x01}), serial::kErrIo);
            EXPECT_EQ(port->FlushInput(), serial::kErrIo);
            port.reset();
            server.Join();
        }
    }
}

}  // namespace
