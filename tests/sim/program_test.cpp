// instrument-sim as a program: its command line and fault options, the COM<n> link it places,
// refuses, takes over and puts back; then the program itself on a pseudo-terminal, in real
// time: the suite's client through the COM folder, faults from the command line, the link's
// lifecycle, bad starts, an independent master.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/serial/termios_port.h"
#include "sim/com_link.h"
#include "sim/options.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using conf_test::Child;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;)
        w.push_back(s);
    return w;
}

// Parses `line` into *o, which must succeed.
void Parse(const std::string& line, sim::ProgramOptions* o) {
    std::string error;
    ASSERT_EQ(sim::ParseOptions(Words(line), o, &error), 0) << line << ": " << error;
}

TEST(Options, EverySettingIsTaken) {
    sim::ProgramOptions o;
    const sim::InstrumentConfig& c = o.instrument;
    Parse(
        "--code 0x6B --fw=8 --model B --station 7 --baud 9600 --format 8e1 --serial 42 --com 5 "
        "--force --no-pacing --turnaround 10 --log --device /dev/ttyUSB0 "
        "--fault cut=2,after=1 --fault vanish,count=0",
        &o);
    // Model, code, firmware, station, baud and format index, serial number, COM number.
    EXPECT_EQ(std::tie(c.model, c.code, c.firmware, c.station, c.baudIndex, c.formatIndex,
                       c.serialNumber, o.com, o.device),
              std::make_tuple(sim::Model::kB, 0x6B, 8, 7, 2, 3, 42u, 5, "/dev/ttyUSB0"));
    EXPECT_DOUBLE_EQ(c.turnaround, 0.010);
    EXPECT_TRUE(!c.paced && !c.openSensor && o.log && o.force);
    ASSERT_EQ(o.faults.size(), 2u);
    const sim::Fault &cut = o.faults[0], &vanish = o.faults[1];
    EXPECT_EQ(std::tie(cut.kind, cut.bytes, cut.after, vanish.kind, vanish.count),
              std::make_tuple(sim::FaultKind::kCut, 2, 1, sim::FaultKind::kVanish, 0));
    // Model B's own code where none is given; a baud index as well as a rate.
    Parse("--model B --baud 1", &o);
    EXPECT_EQ(std::tie(c.code, c.baudIndex), std::make_tuple(105, 1));
    Parse("--open-sensor", &o);
    EXPECT_EQ(std::tie(c.openSensor, o.listen, c.echo),
              std::make_tuple(true, sim::NetProtocol::kNone, false));
    Parse("--echo --fault echo-garbled,count=2 --fault echo-lost", &o);
    EXPECT_TRUE(c.echo);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(std::tie(o.faults[0].kind, o.faults[0].count, o.faults[1].kind),
              std::make_tuple(sim::FaultKind::kEchoGarbled, 2, sim::FaultKind::kEchoLost));
    // The network: protocol, port, the device server's settings, its delay.
    Parse(
        "--listen rfc2217:4000 --gateway 9600,7e1 --net-delay 250 --fault reset "
        "--fault stall,after=2",
        &o);
    EXPECT_EQ(std::tie(o.listen, o.listenPort), std::make_tuple(sim::NetProtocol::kRfc2217, 4000));
    EXPECT_EQ(o.gateway, (serial::LineSettings{9600, serial::kParityEven, 7, 1}));
    EXPECT_DOUBLE_EQ(o.netDelay, 0.25);
    ASSERT_EQ(o.faults.size(), 2u);
    EXPECT_EQ(o.faults[1].kind, sim::FaultKind::kStall);
    // Without --gateway the device server is at the instrument's own settings.
    Parse("--listen=tcp:0 --baud 4800 --format 8O1", &o);
    EXPECT_EQ(std::tie(o.listen, o.listenPort), std::make_tuple(sim::NetProtocol::kRawTcp, 0));
    EXPECT_EQ(o.gateway, (serial::LineSettings{4800, serial::kParityOdd, 8, 1}));
}

TEST(Options, MistakesAreNamed) {
    const std::pair<const char*, const char*> bad[] = {
        {"--model C", "--model takes A or B"},
        {"--open-sensor --model B", "--open-sensor plays model A's open sensor"},
        {"--fw 10", "--fw"},
        {"--fw 0", "--fw"},
        {"--station 0", "--station"},
        {"--baud 1200", "--baud"},
        {"--format 8N3", "--format"},
        {"--com 257", "--com"},
        {"--code 256", "--code"},
        {"--station", "needs a value"},
        {"--log=1", "takes no value"},
        {"--force", "--force goes with --com"},
        {"--speed 5", "unknown option --speed"},
        {"COM5", "unexpected argument"},
        {"--fault smoke", "unknown kind"},
        {"--fault late=-1", "late takes"},
        {"--fault silence=2", "takes no value"},
        {"--fault cut=2,every=3", "unknown part"},
        {"--listen udp:5", "--listen"},
        {"--listen tcp:65536", "--listen"},
        {"--listen tcp", "--listen"},
        {"--listen tcp:0 --com 5", "--listen does not go with --com or --device"},
        {"--listen rfc2217:0 --device /dev/ttyUSB0", "does not go with"},
        {"--gateway 9600,8N1", "--gateway goes with --listen"},
        {"--net-delay 5", "--net-delay goes with --listen"},
        {"--fault reset", "fault reset goes with --listen"},
        {"--fault stall,count=0", "fault stall goes with --listen"},
        {"--listen tcp:0 --gateway 9600,8N3", "--gateway"},
        {"--listen tcp:0 --gateway 1200,8N1", "--gateway"},
        {"--listen tcp:0 --gateway 9600,8X1", "--gateway"},
        {"--listen tcp:0 --gateway 9600", "--gateway"},
        {"--listen tcp:0 --net-delay 60001", "--net-delay"},
        {"--echo=on", "takes no value"},
        {"--fault echo-garbled", "fault echo-garbled goes with --echo"},
        {"--fault echo-lost=3 --echo", "takes no value"},
    };
    for (const auto& [line, why] : bad) {
        sim::ProgramOptions o;
        std::string error;
        EXPECT_EQ(sim::ParseOptions(Words(line), &o, &error), -1) << line;
        EXPECT_NE(error.find(why), std::string::npos) << line << ": " << error;
    }
}

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
    void Link(const std::string& name, const std::string& target) {
        fs::create_directories(comDir);
        fs::create_symlink(target, comDir + "/" + name);
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
    std::string error, note;  // of a COM link's placing
};

// The COM link alone, without a simulator running.
using ComLink = Program;

TEST_F(ComLink, PlacedAndRemovedAlsoOverALinkLeftByAKilledSimulator) {
    for (const char* stale : {"", "/dev/pts/987654"}) {
        if (*stale) Link("COM5", stale);
        {
            sim::ComLink link;
            ASSERT_EQ(link.Place(comDir, 5, "/dev/pts/77", false, &error, &note), 0) << error;
            EXPECT_EQ(note.find("has gone") != std::string::npos, *stale != 0) << note;
            EXPECT_EQ(link.Path(), comDir + "/COM5");
            EXPECT_EQ(LinkTarget("COM5"), "/dev/pts/77");
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(comDir + "/COM5")));  // nothing to put back
    }
    sim::ComLink link;
    EXPECT_EQ(link.Place("", 5, "/dev/pts/77", false, &error, &note), -1);
    EXPECT_NE(error.find("COMPORTS_DIR"), std::string::npos);
}

// A foreign link is taken only with force, and put back; what is not a link, or no longer
// ours, is left alone.
TEST_F(ComLink, OnlyWhatIsOursIsTakenOrRemoved) {
    Link("COM5", "/dev/ttyUSB0");
    {
        sim::ComLink link;  // refused without force: see RefusesBadStarts
        ASSERT_EQ(link.Place(comDir, 5, "/dev/pts/77", true, &error, &note), 0);
        EXPECT_EQ(LinkTarget("COM5"), "/dev/pts/77");
    }
    EXPECT_EQ(LinkTarget("COM5"), "/dev/ttyUSB0");

    conf_test::WriteFile(comDir + "/COM3", "notes");
    sim::ComLink link;
    EXPECT_EQ(link.Place(comDir, 3, "/dev/pts/77", true, &error, &note), -1);
    EXPECT_NE(error.find("not a link"), std::string::npos);
    ASSERT_EQ(link.Place(comDir, 4, "/dev/pts/77", false, &error, &note), 0);
    fs::remove(comDir + "/COM4");
    fs::create_symlink("/dev/ttyACM0", comDir + "/COM4");  // somebody re-pointed it
    link.Remove();
    EXPECT_EQ(LinkTarget("COM4"), "/dev/ttyACM0");
}

// The suite's client through the COM link, closed and opened again in between (a pty carries
// no parity: the instrument's even parity is not compared), unheard at another baud rate; then
// faults from the command line: three refused attempts, and the port goes as a pulled adapter does,
// its link kept until the program ends.
TEST_F(Program, ServesTheSuitesClientThroughItsComLinkWithFaultsFromTheCommandLine) {
    Run({"--com", "5", "--format", "8E1", "--fault", "vanish,after=5", "--fault",
         "exception=4,after=2,count=3"});
    EXPECT_EQ(LinkTarget("COM5"), path);
    EXPECT_NE(Stderr().find("as COM5"), std::string::npos);
    for (int round = 0; round < 2; ++round) {
        OpenCom("COM5", 19200, 2 * round, 1, 0.5);
        std::vector<std::int16_t> v(4);
        ASSERT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4, v), 0) << round;
        EXPECT_EQ(v, (std::vector<std::int16_t>{0x6802, 0, 0x4DCC, -511}));
        ASSERT_EQ(real.CloseCom(222), 0);
    }
    OpenCom("COM5", 9600, 0, 1, 0.1);
    EXPECT_EQ(ReadModel(), -2000);
    ASSERT_EQ(real.CloseCom(222), 0);
    OpenCom("COM5", 19200, 0, 1, 0.5);
    EXPECT_EQ(ReadModel(), -2005);
    EXPECT_LT(ReadModel(), 0);
    real.CloseCom(222);
    EXPECT_TRUE(serial::EntryExists(comDir + "/COM5"));  // a pulled adapter keeps its number
    EXPECT_EQ(child.Stop(), 0);
    EXPECT_NE(Stderr().find("has vanished"), std::string::npos);
    EXPECT_FALSE(serial::EntryExists(comDir + "/COM5"));
}

TEST_F(Program, RefusesBadStarts) {
    Link("COM5", "/dev/ttyUSB9");
    RunToEnd({"--com", "5"}, 1, "already names /dev/ttyUSB9; use --force");
    EXPECT_EQ(LinkTarget("COM5"), "/dev/ttyUSB9");
    RunToEnd({"--baud", "300"}, 2, "--baud");
    RunToEnd({"--device", dir.Sub("missing")}, 1, "No such file");
    RunToEnd({"--listen", "tcp:0", "--com", "5"}, 2, "--listen does not go with --com");
    // A port another simulator listens on.
    const std::string line = Spawn({"--listen", "rfc2217:0"}),
                      head = "listening on rfc2217://127.0.0.1:";
    ASSERT_EQ(line.rfind(head, 0), 0u) << line << "\n" << Stderr();
    const std::string port = line.substr(head.size());
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
        const std::vector<std::string> args =
            Words(tool + " -m rtu -a 1 -b 19200 -P none -s 2 -t 4 -0 -1 -o 1 -r " + start +
                  (write.empty() ? " -c " + count : "") + " " + path + " " + write);
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
