// instrument-sim itself on a pseudo-terminal, in real time: the suite's client through the
// COM folder, the link start and recovery, an independent master, faults from the command
// line, the COM link's lifecycle; and on the network, stalled by a signal.

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "../support/child_process.h"
#include "net_client.h"
#include "platform/serial/termios_port.h"
#include "session/link_controls.h"
#include "session/modbus_api.h"
#include "session/uart.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using conf_test::Child;

class Program : public linktest::LinkTest {
  protected:
    Program()
        : comDir(dir.Sub("comports")),
          real(termios, serial::ComMapEnv{comDir, serial::EntryExists}) {
        ctx.com = &real;
    }
    // Starts the simulator: the first line it prints.
    std::string Spawn(std::vector<std::string> args) {
        args.insert(args.begin(), INSTRUMENT_SIM_PATH);
        EXPECT_TRUE(child.Spawn(args, comDir, errFile));
        return child.FirstLine();
    }
    // On a pseudo-terminal: its path.
    void Run(const std::vector<std::string>& args) {
        path = Spawn(args);
        ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << "stdout: " << path << "\n" << Stderr();
    }
    // On the network: its port.
    int Listen(const std::vector<std::string>& args) {
        const std::string line = Spawn(args), head = "listening on rfc2217://127.0.0.1:";
        EXPECT_EQ(line.rfind(head, 0), 0u) << line << "\n" << Stderr();
        return line.rfind(head, 0) == 0 ? std::stoi(line.substr(head.size())) : 0;
    }
    // Runs it to its end: the exit code, and its standard error holds `text`.
    void RunToEnd(std::vector<std::string> args, int code, const std::string& text) {
        args.insert(args.begin(), INSTRUMENT_SIM_PATH);
        Child c;
        EXPECT_TRUE(c.Spawn(args, comDir, dir.Sub("run.err")));
        EXPECT_EQ(c.Wait(), code) << args[1];
        const std::string err = conf_test::ReadFile(dir.Sub("run.err"));
        EXPECT_NE(err.find(text), std::string::npos) << err;
    }
    std::string Stderr() { return conf_test::ReadFile(errFile); }
    std::string LinkTarget(const std::string& name) {
        std::error_code ec;
        return fs::read_symlink(comDir + "/" + name, ec).string();
    }
    void OpenCom(const char* name, long baud, int parity, int stopBits, double timeout) {
        ASSERT_EQ(real.OpenComConfig(222, name, baud, parity, 8, stopBits), 0)
            << real.LastErrorDetail();
        ASSERT_EQ(real.SetComTime(222, timeout), 0);
    }
    // The client's read of the model register: its result.
    int ReadModel() { return conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 1); }

    std::string comDir;
    std::string errFile = dir.Sub("sim.err");
    serial::TermiosBackend termios;
    serial::Rs232 real;
    Child child;
    std::string path;
};

TEST_F(Program, ServesTheSuitesClientThroughItsComLink) {
    Run({"--com", "5"});
    EXPECT_EQ(LinkTarget("COM5"), path);
    EXPECT_NE(Stderr().find("as COM5"), std::string::npos);
    for (int round = 0; round < 2; ++round) {  // closed and opened again in between
        OpenCom("COM5", 19200, 0, 2, 0.5);
        std::vector<std::int16_t> v(4);
        ASSERT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4, v), 0) << round;
        EXPECT_EQ(v, (std::vector<std::int16_t>{0x6802, 0, 0x4DCC, -511}));
        ASSERT_EQ(real.CloseCom(222), 0);
    }
    OpenCom("COM5", 9600, 0, 2, 0.1);
    EXPECT_EQ(ReadModel(), -2000);  // wrong baud: silent
    ASSERT_EQ(real.CloseCom(222), 0);
    EXPECT_EQ(child.Stop(), 0);
    EXPECT_FALSE(serial::EntryExists(comDir + "/COM5"));
}

TEST_F(Program, LinkStartAndRecoveryAsTarnelRunsThem) {
    Run({"--station", "5", "--baud", "9600", "--format", "8E1", "--com", "5", "--log"});
    // The scanner's forcing broadcast at the instrument's own settings.
    OpenCom("COM5", 9600, 2, 1, 0.1);
    conf::ID_comm::SV(ctx, 0);
    conf::fn_Modbus_Device_RW_16(ctx, 5, 0x0A07, 0x6C2E);
    ASSERT_EQ(real.CloseCom(222), 0);

    conf_test::WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\n6802");
    conf::ID_comm::SV(ctx, 1);
    ASSERT_EQ(conf::UART::init(ctx), 0) << Log();
    EXPECT_EQ(Station(), 5);
    EXPECT_EQ(ReadModel(), 0);
    EXPECT_EQ(child.Stop(), 0);
    const std::string log = Stderr();
    // Parity cannot be seen on a pseudo-terminal: the log shows it as '?'.
    for (const char* line : {"9600 8?1 00 05 0A 07 6C 2E", "19200 8?2 01 03 10 00 00 06",
                             "9600 8?2 05 05 00 1D 00 03"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

TEST_F(Program, FaultsComeFromTheCommandLine) {
    Run({"--fault", "exception=4,count=0", "--com", "6"});
    OpenCom("COM6", 19200, 0, 2, 0.1);
    EXPECT_EQ(ReadModel(), -2005);
    ASSERT_EQ(real.CloseCom(222), 0);
    EXPECT_EQ(child.Stop(), 0);
}

TEST_F(Program, AVanishedPortLeavesItsLinkUntilTheEnd) {
    Run({"--fault", "vanish", "--com", "5"});
    OpenCom("COM5", 19200, 0, 2, 0.5);
    EXPECT_LT(ReadModel(), 0);
    real.CloseCom(222);
    EXPECT_TRUE(serial::EntryExists(comDir + "/COM5"));  // a pulled adapter keeps its number
    EXPECT_EQ(child.Stop(), 0);
    EXPECT_NE(Stderr().find("has vanished"), std::string::npos);
    EXPECT_FALSE(serial::EntryExists(comDir + "/COM5"));
}

TEST_F(Program, ServesOnTheNetworkAndStallsWhileSignalled) {
    const int port = Listen({"--listen", "rfc2217:0", "--log"});
    ASSERT_GT(port, 0);
    simtest::Client client(port);
    simtest::Negotiate(client);
    for (bool stalled : {false, true, false}) {
        if (stalled) child.Signal(SIGUSR2);
        client.Send(simtest::kReadModel);
        EXPECT_EQ(client.Read(simtest::kModel.size(), stalled ? 0.3 : 2.0),
                  stalled ? sim::Bytes{} : simtest::kModel)
            << stalled;
        if (stalled) child.Signal(SIGUSR2);
    }
    EXPECT_EQ(child.Stop(), 0);
    const std::string log = Stderr();
    for (const char* line : {"on rfc2217://127.0.0.1:", "(a port starting at 19200 8N2)",
                             "client 127.0.0.1:", "connection stalled", "connection passing",
                             "19200 8N2 01 03 1F 00 00 04 43 DD -> answered"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

TEST_F(Program, RefusesBadStarts) {
    fs::create_directories(comDir);
    fs::create_symlink("/dev/ttyUSB9", comDir + "/COM5");
    RunToEnd({"--com", "5"}, 1, "already names /dev/ttyUSB9; use --force");
    EXPECT_EQ(LinkTarget("COM5"), "/dev/ttyUSB9");
    RunToEnd({"--baud", "300"}, 2, "--baud");
    RunToEnd({"--device", dir.Sub("missing")}, 1, "No such file");
    RunToEnd({"--listen", "tcp:0", "--com", "5"}, 2, "--listen does not go with --com");
    // A port another simulator listens on.
    const std::string port = std::to_string(Listen({"--listen", "rfc2217:0"}));
    RunToEnd({"--listen", "tcp:" + port}, 1,
             "cannot listen on 127.0.0.1:" + port + ": Address already in use");
}

// Debian's mbpoll as an independent master.
class Mbpoll : public Program {
  protected:
    void SetUp() override {
        for (const char* d : {"/usr/bin/mbpoll", "/usr/local/bin/mbpoll"})
            if (access(d, X_OK) == 0) tool = d;
        if (tool.empty())
            GTEST_SKIP() << "mbpoll is not installed (scripts/install-deps installs it)";
    }
    // mbpoll's register lines "[7936]: \t26626" as numbers, or its exit code when it failed.
    std::vector<long> Poll(const std::string& start, const std::string& count,
                           const std::string& write = "") {
        std::vector<std::string> args = {tool, "-m",   "rtu", "-a", "1",  "-b", "19200",
                                         "-P", "none", "-s",  "2",  "-t", "4",  "-0",
                                         "-1", "-o",   "1",   "-r", start};
        if (write.empty()) args.insert(args.end(), {"-c", count});
        args.push_back(path);
        if (!write.empty()) args.push_back(write);
        Child c;
        EXPECT_TRUE(c.Spawn(args, comDir, dir.Sub("mbpoll.err")));
        const std::string out = c.Rest();
        EXPECT_EQ(c.Wait(), 0) << out << conf_test::ReadFile(dir.Sub("mbpoll.err"));
        std::vector<long> values;
        for (auto at = out.find("]: "); at != std::string::npos; at = out.find("]: ", at + 1))
            values.push_back(std::strtol(out.c_str() + at + 3, nullptr, 10));
        return values;
    }
    std::string tool;
};

TEST_F(Mbpoll, ReadsTheDeviceInformationAndParameterBlocks) {
    Run({});
    EXPECT_EQ(Poll("7936", "4"), (std::vector<long>{26626, 0, 19916, 65025}));
    EXPECT_EQ(
        Poll("0", "31"),
        (std::vector<long>{1, 0,   0, 0, 1000, 0,   0, 1000, 5,    0, 0,    3277, 16384, 1, 3, 1,
                           0, 800, 2, 2, 0,    100, 2, 0,    5000, 0, 1000, 400,  2000,  1, 0}));
    Poll("8", "1", "7");  // its single write is our code 6
    EXPECT_EQ(Poll("8", "1"), (std::vector<long>{7}));
    EXPECT_EQ(child.Stop(), 0);
}

}  // namespace
