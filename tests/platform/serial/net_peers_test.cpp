// The network ports against outside servers from Debian, each in front of a pseudo-terminal
// whose master side this test holds as the instrument: socat as a raw TCP gateway, pyserial's
// RFC 2217 server. Skipped, saying why, when the package is missing. Real time, bounded waits.

#include <gtest/gtest.h>

#include "line_ends.h"
#include "platform/serial/serial_error.h"
#include "platform/serial/system_backend.h"
#include "tests/platform/sys/temp_dir.h"
#include "tests/support/child_process.h"

namespace {

using serial_test::Bytes;

// Bytes a cooked line would act on, and 0xFF, which Telnet must escape.
const Bytes kAwkward{0x01, 0xFF, 0x0D, 0x0A, 0x00, 0x11, 0x13, 0xFF, 0xFF, 0x7F};

class OutsidePeer : public ::testing::Test {
  protected:
    OutsidePeer() {
        termios t = pty.SlaveTermios();
        cfmakeraw(&t);
        cfsetspeed(&t, B4800);
        tcsetattr(pty.slave, TCSANOW, &t);
    }
    // Starts the server; its first line of output ends in the TCP port it listens on.
    std::string Start(const std::vector<std::string>& argv) {
        peer = std::make_unique<conf_test::Child>();
        if (!peer->Spawn(argv, dir.path(), dir.Sub("peer.err"))) return {};
        const std::string line = peer->FirstLine();
        return line.substr(line.rfind(':') + 1);
    }
    // kAwkward both ways: written by the port to the instrument, and back.
    void ExchangeBothWays() {
        ASSERT_EQ(port->Write(kAwkward.data(), 10), 10);
        EXPECT_EQ(pty.MasterRead(10, 2000), kAwkward);
        pty.MasterWrite(kAwkward);
        Bytes in(10);
        EXPECT_EQ(port->Read(in.data(), 10, 2.0), 10);
        EXPECT_EQ(in, kAwkward);
    }

    serial_test::PtyPair pty;  // closed last
    sys_test::TempDir dir;
    std::unique_ptr<conf_test::Child> peer;
    serial::SystemBackend backend;
    std::unique_ptr<serial::Port> port;
};

TEST_F(OutsidePeer, RawTcpThroughSocatLeavesTheLineAsItIs) {
    if (access("/usr/bin/socat", X_OK) != 0)
        GTEST_SKIP() << "socat is not installed (scripts/install-deps installs it)";
    const std::string tcp =
        Start({"/usr/bin/socat", "-d", "-d", "-lf", "/dev/stdout",
               "TCP-LISTEN:0,bind=127.0.0.1,reuseaddr", "FILE:" + pty.path + ",raw,echo=0"});
    ASSERT_FALSE(tcp.empty()) << "socat did not say where it listens";
    ASSERT_EQ(backend.Open("tcp://127.0.0.1:" + tcp, {19200, 0, 8, 2}, &port), 0)
        << backend.LastOpenDetail();
    EXPECT_EQ(port->Settings(), (serial::LineSettings{19200, 0, 8, 2}));
    termios t = pty.SlaveTermios();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B4800));
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    ExchangeBothWays();

    // The gateway goes away: the port reads like a pulled adapter.
    peer->Stop();
    Bytes in(4);
    EXPECT_EQ(port->Read(in.data(), 4, 2.0), serial::kErrIo);
    EXPECT_EQ(port->Write(in.data(), 4), serial::kErrIo);
}

TEST_F(OutsidePeer, Rfc2217ThroughPyserialSetsTheLine) {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "python3 is not installed";
    const std::string tcp = Start(
        {"/usr/bin/python3", std::string(SERIAL_TEST_DIR) + "/rfc2217_pty_server.py", pty.path});
    if (tcp.empty() && peer->Wait() == 77)
        GTEST_SKIP() << "python3-serial is not installed (scripts/install-deps installs it)";
    ASSERT_FALSE(tcp.empty()) << "the RFC 2217 server did not start";
    const std::string url = "rfc2217://127.0.0.1:" + tcp;
    // A pseudo-terminal shows the baud rate and the stop bits it was given.
    struct Case {
        serial::LineSettings settings;
        speed_t speed;
        tcflag_t stop;
    };
    for (const Case& c :
         {Case{{9600, serial::kParityOdd, 8, 2}, B9600, CSTOPB}, Case{{19200, 0, 8, 1}, B19200, 0},
          Case{{2400, 0, 8, 2}, B2400, CSTOPB}}) {
        SCOPED_TRACE(c.settings.baud);
        port.reset();
        ASSERT_EQ(backend.Open(url, c.settings, &port), 0) << backend.LastOpenDetail();
        termios t = pty.SlaveTermios();
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & CSTOPB, c.stop);
        ExchangeBothWays();
        // Purges go out and their acknowledgements never show up as line data.
        EXPECT_EQ(port->FlushOutput(), 0);
        EXPECT_EQ(port->FlushInput(), 0);
        ExchangeBothWays();
    }
}

}  // namespace
