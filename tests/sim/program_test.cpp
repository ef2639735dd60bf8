// instrument-sim as a program: its command line and fault options, the COM<n> link it places,
// refuses, takes over and puts back; the Telnet end of its network port alone (option answers,
// port settings and their acknowledgements, purges, 0xFF escaping, bytes in any pieces). Then
// the program itself, in real time: on a pseudo-terminal, the suite's client through the COM
// folder, faults from the command line, the link's lifecycle, bad starts, an independent
// master; listening on 127.0.0.1 and met by a plain client socket, a transparent gateway, a
// Telnet port with its settings and purges, one client at a time, the network faults.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/serial/termios_port.h"
#include "sim/com_link.h"
#include "sim/options.h"
#include "sim/telnet_codec.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace sim::telnet;
using conf_test::Child;
using conf_test::kModel;
using conf_test::kReadModel;
using sim::Bytes;
using sim::LineInput;
using Steady = std::chrono::steady_clock;

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

TEST(Options, EverySettingIsTakenAndMistakesAreNamed) {
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
    Parse("--open-sensor --echo --fault echo-garbled,count=2 --fault echo-lost", &o);
    EXPECT_EQ(std::tie(c.openSensor, o.listen, c.echo),
              std::make_tuple(true, sim::NetProtocol::kNone, true));
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

    // Mistakes are named.
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
        sim::ProgramOptions refused;
        std::string error;
        EXPECT_EQ(sim::ParseOptions(Words(line), &refused, &error), -1) << line;
        EXPECT_NE(error.find(why), std::string::npos) << line << ": " << error;
    }
}

constexpr std::uint8_t kEcho = 1, kSga = 3, kNop = 241, kAyt = 246;
constexpr double kSilence = 0.3;  // seconds without an answer that count as none
const serial::LineSettings k8N2{19200, serial::kParityNone, 8, 2};

// A COM-PORT-OPTION subnegotiation.
Bytes Sub(std::uint8_t command, Bytes value) {
    Bytes b = {kIac, kSb, kComPort, command};
    sim::TelnetCodec::Escape(value, &b);
    b.insert(b.end(), {kIac, kSe});
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A fresh codec fed `in` in pieces of `piece` bytes: its answers, the line input it gave (each
// piece as "<settings> [<data>] <purge bits>; "), the settings then in force.
struct Fed {
    Bytes reply;
    std::string pieces;
    serial::LineSettings after;
};
Fed Feed(const Bytes& in, std::size_t piece = 512) {
    sim::TelnetCodec codec(k8N2);
    std::vector<LineInput> pieces;
    Fed f;
    for (std::size_t at = 0; at < in.size(); at += piece)
        codec.Receive(in.data() + at, std::min(piece, in.size() - at), &pieces, &f.reply);
    for (const LineInput& p : pieces)
        f.pieces += sim::SettingsText(p.settings) + " [" + sim::Hex(p.data) + "] " +
                    std::to_string(p.purge) + "; ";
    f.after = codec.Settings();
    return f;
}

// The client's opening is met end to end by NetLine below; here the rest of the options: each
// agreed once, the others refused.
TEST(TelnetCodec, OptionsSettingsAndDataWhateverTheReads) {
    const std::pair<Bytes, Bytes> options[] = {
        {{kIac, kDo, kComPort}, {kIac, kWill, kComPort}},
        {{kIac, kDo, kEcho, kIac, kWill, kSga}, {kIac, kWont, kEcho, kIac, kDont, kSga}},
        {{kIac, kWont, kEcho, kIac, kDont, kSga, kIac, kDont, kBinary}, {}},
        {{kIac, kWill, kBinary, kIac, kWill, kBinary}, {kIac, kDo, kBinary}},
        {{kIac, kDo, kComPort, kIac, kDont, kComPort},
         {kIac, kWill, kComPort, kIac, kWont, kComPort}},
        {{kIac, kNop, kIac, kAyt, kIac, kSe}, {}},
        // Another option's subnegotiation means nothing to this port.
        {{kIac, kSb, 24, 1, kIac, kSe}, {}},
    };
    for (const auto& [in, reply] : options) {
        const Fed f = Feed(in);
        EXPECT_EQ(f.reply, reply) << ::testing::PrintToString(in);
        EXPECT_EQ(f.pieces, "");
    }

    // Settings away from the instrument's and purges are met end to end by NetLine below; here the
    // queries and the values a port does not take.
    struct Case {
        std::uint8_t command;
        Bytes value;
        Bytes ack;  // empty: no answer
        serial::LineSettings after;
        int purge;
    };
    const Case settings[] = {
        {kSetBaudRate, {0, 0, 0, 0}, {0, 0, 0x4B, 0x00}, k8N2, 0},        // a query
        {kSetBaudRate, {0, 0, 0x30, 0x39}, {0, 0, 0x4B, 0x00}, k8N2, 0},  // 12345: not taken
        {kSetBaudRate, {0x25, 0x80}, {}, k8N2, 0},
        {kSetDataSize, {0}, {8}, k8N2, 0},
        {kSetDataSize, {9}, {8}, k8N2, 0},
        {kSetParity, {2}, {2}, {19200, serial::kParityOdd, 8, 2}, 0},
        {kSetParity, {5}, {5}, {19200, serial::kParitySpace, 8, 2}, 0},
        {kSetParity, {0}, {1}, k8N2, 0},
        {kSetParity, {6}, {1}, k8N2, 0},
        {kSetStopSize, {3}, {2}, k8N2, 0},  // one and a half: not taken
        {kSetStopSize, {0}, {2}, k8N2, 0},
        {kSetControl, {1}, {1}, k8N2, 0},
        {kSetControl, {0}, {1}, k8N2, 0},
        {kSetControl, {9}, {9}, k8N2, 0},
        {kSetControl, {7}, {8}, k8N2, 0},
        {kSetControl, {12}, {12}, k8N2, 0},
        {kSetControl, {20}, {}, k8N2, 0},
        {kPurgeData, {3}, {3}, k8N2, sim::kPurgeInput | sim::kPurgeOutput},
        {kPurgeData, {0}, {}, k8N2, 0},
        {0, {}, {}, k8N2, 0},       // the signature
        {10, {0xFF}, {}, k8N2, 0},  // the line state mask
    };
    for (const Case& c : settings) {
        SCOPED_TRACE(::testing::PrintToString(Sub(c.command, c.value)));
        const Fed f = Feed(Sub(c.command, c.value));
        EXPECT_EQ(f.reply, c.ack.empty() ? Bytes{} : Sub(c.command + kServerOffset, c.ack));
        EXPECT_EQ(f.after, c.after);
        EXPECT_EQ(f.pieces, c.purge ? "19200 8N2 [] " + std::to_string(c.purge) + "; " : "");
    }

    // Data comes unescaped in pieces cut at settings and purges, whatever the reads.
    // An unended subnegotiation gives way to the command that interrupts it.
    const Bytes in = Cat({{0x01, kIac, kIac, 0x02},
                          Sub(kSetParity, {3}),
                          {0x03},
                          Sub(kPurgeData, {2}),
                          {0x04, kIac, kSb, kComPort, kSetParity, 1, kIac, kWill, kBinary, 0x05}});
    const Bytes ack = Cat({Sub(kSetParity + kServerOffset, {3}),
                           Sub(kPurgeData + kServerOffset, {2}),
                           {kIac, kDo, kBinary}});
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, in.size()}) {
        SCOPED_TRACE(piece);
        const Fed f = Feed(in, piece);
        EXPECT_EQ(f.reply, ack);
        EXPECT_EQ(f.pieces, "19200 8N2 [01 FF 02] 0; 19200 8E2 [03] 1; 19200 8E2 [04 05] 0; ");
    }
    // A subnegotiation too long for any setting is dropped whole.
    Bytes longSub = {kIac, kSb, kComPort, kSetParity};
    longSub.resize(200, 3);
    longSub.insert(longSub.end(), {kIac, kSe, 0x06});
    const Fed f = Feed(longSub);
    EXPECT_EQ(f.reply, Bytes{});
    EXPECT_EQ(f.pieces, "19200 8N2 [06] 0; ");
    EXPECT_EQ(f.after, k8N2);
}

class Program : public linktest::LinkTest {
  protected:
    Program()
        : comDir(dir.Sub("comports")),
          real(termios, serial::ComMapEnv{comDir, serial::EntryExists}) {
        ctx.com = &real;
    }
    // Starts the simulator (ending the one before): the first line it prints.
    std::string Spawn(std::vector<std::string> args) {
        args.insert(args.begin(), INSTRUMENT_SIM_PATH);
        child = std::make_unique<Child>();
        EXPECT_TRUE(child->Spawn(args, comDir, errFile));
        return child->FirstLine();
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
    std::unique_ptr<Child> child;
    std::string path;
    std::string error, note;  // of a COM link's placing
};

// The COM link alone, without a simulator running; then the starts the program refuses.
using ComLink = Program;

TEST_F(ComLink, PlacedAndRemovedOnlyWhereItIsOursBadStartsRefused) {
    fs::create_directories(comDir);
    for (const char* stale : {"", "/dev/pts/987654"}) {
        if (*stale) fs::create_symlink(stale, comDir + "/COM5");
        {
            sim::ComLink link;
            ASSERT_EQ(link.Place(comDir, 5, "/dev/pts/77", false, &error, &note), 0) << error;
            EXPECT_EQ(note.find("has gone") != std::string::npos, *stale != 0) << note;
            EXPECT_EQ(link.Path(), comDir + "/COM5");
            EXPECT_EQ(LinkTarget("COM5"), "/dev/pts/77");
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(comDir + "/COM5")));  // nothing to put back
    }
    // A foreign link is taken only with force, and put back; what is not a link, or no longer
    // ours, is left alone.
    fs::create_symlink("/dev/ttyUSB0", comDir + "/COM5");
    {
        sim::ComLink link;  // refused without force: see below
        ASSERT_EQ(link.Place(comDir, 5, "/dev/pts/77", true, &error, &note), 0);
        EXPECT_EQ(LinkTarget("COM5"), "/dev/pts/77");
    }
    EXPECT_EQ(LinkTarget("COM5"), "/dev/ttyUSB0");
    sim::ComLink link;
    EXPECT_EQ(link.Place("", 5, "/dev/pts/77", false, &error, &note), -1);
    EXPECT_NE(error.find("COMPORTS_DIR"), std::string::npos);
    conf_test::WriteFile(comDir + "/COM3", "notes");
    EXPECT_EQ(link.Place(comDir, 3, "/dev/pts/77", true, &error, &note), -1);
    EXPECT_NE(error.find("not a link"), std::string::npos);
    ASSERT_EQ(link.Place(comDir, 4, "/dev/pts/77", false, &error, &note), 0);
    fs::remove(comDir + "/COM4");
    fs::create_symlink("/dev/ttyACM0", comDir + "/COM4");  // somebody re-pointed it
    link.Remove();
    EXPECT_EQ(LinkTarget("COM4"), "/dev/ttyACM0");

    // Bad starts are refused; the foreign link stays.
    RunToEnd({"--com", "5"}, 1, "already names /dev/ttyUSB0; use --force");
    EXPECT_EQ(LinkTarget("COM5"), "/dev/ttyUSB0");
    RunToEnd({"--baud", "300"}, 2, "--baud");
    RunToEnd({"--device", dir.Sub("missing")}, 1, "No such file");
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
    EXPECT_EQ(child->Stop(), 0);
    EXPECT_NE(Stderr().find("has vanished"), std::string::npos);
    EXPECT_FALSE(serial::EntryExists(comDir + "/COM5"));
}

// Debian's mbpoll as an independent master.
TEST_F(Program, MbpollReadsTheDeviceInformationAndParameterBlocks) {
    std::string tool;
    for (const char* d : {"/usr/bin/mbpoll", "/usr/local/bin/mbpoll"})
        if (access(d, X_OK) == 0) tool = d;
    if (tool.empty()) GTEST_SKIP() << "mbpoll is not installed (scripts/install-deps installs it)";
    Run({});
    // mbpoll's register lines "[7936]: \t26626" as numbers.
    const auto poll = [&](const std::string& start, const std::string& count,
                          const std::string& write = "") {
        Child c;
        EXPECT_TRUE(
            c.Spawn(Words(tool + " -m rtu -a 1 -b 19200 -P none -s 2 -t 4 -0 -1 -o 1 -r " + start +
                          (write.empty() ? " -c " + count : "") + " " + path + " " + write),
                    comDir, dir.Sub("mbpoll.err")));
        const std::string out = c.Rest();
        EXPECT_EQ(c.Wait(), 0) << out << conf_test::ReadFile(dir.Sub("mbpoll.err"));
        std::vector<long> values;
        for (auto at = out.find("]: "); at != std::string::npos; at = out.find("]: ", at + 1))
            values.push_back(std::strtol(out.c_str() + at + 3, nullptr, 10));
        return values;
    };
    EXPECT_EQ(poll("7936", "4"), (std::vector<long>{26626, 0, 19916, 65025}));
    EXPECT_EQ(
        poll("0", "31"),
        (std::vector<long>{1, 0,   0, 0, 1000, 0,   0, 1000, 5,    0, 0,    3277, 16384, 1, 3, 1,
                           0, 800, 2, 2, 0,    100, 2, 0,    5000, 0, 1000, 400,  2000,  1, 0}));
    poll("8", "1", "7");  // its single write is our code 6
    EXPECT_EQ(poll("8", "1"), (std::vector<long>{7}));
    EXPECT_EQ(child->Stop(), 0);
}

// A client socket on 127.0.0.1.
class Client {
  public:
    explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << errno;
    }
    ~Client() { close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    void Send(const Bytes& b) {
        EXPECT_EQ(send(fd_, b.data(), b.size(), MSG_NOSIGNAL), static_cast<ssize_t>(b.size()));
    }
    // What comes until `want` bytes are in, the connection ends or the time is up.
    Bytes Read(std::size_t want, double seconds = 2.0) {
        Bytes got;
        const auto until = Steady::now() + std::chrono::duration<double>(seconds);
        while (got.size() < want && end == 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Steady::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            std::uint8_t buf[256];
            const ssize_t n = recv(fd_, buf, std::min(sizeof buf, want - got.size()), 0);
            if (n > 0)
                got.insert(got.end(), buf, buf + n);
            else
                end = n == 0 ? -1 : errno;
        }
        return got;
    }
    // A Telnet client's opening (binary both ways, the COM port option): what came back.
    Bytes Negotiate() {
        Send({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kComPort});
        return Read(9);
    }
    int end = 0;  // 0 while open, -1 after an orderly end, else the error that ended it

  private:
    int fd_;
};

// instrument-sim listening with its log on, each start a program of its own.
class NetLine : public Program {
  protected:
    // Started with `args` after --listen PROTOCOL:0: the port it listens on.
    void Start(const std::string& protocol, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--listen", protocol + ":0", "--log"});
        const std::string line = Spawn(args), head = "listening on " + protocol + "://127.0.0.1:";
        ASSERT_EQ(line.rfind(head, 0), 0u) << line << "\n" << Stderr();
        port = std::stoi(line.substr(head.size()));
    }
    // Ends the program: every request it took, as its log shows them without their times.
    std::vector<std::string> Heard() {
        EXPECT_EQ(child->Stop(), 0);
        std::vector<std::string> heard;
        std::istringstream in(Stderr());
        for (std::string line; std::getline(in, line);)
            if (line.find_first_of("-0123456789") == 0)  // a request: its time, maybe negative
                heard.push_back(line.substr(line.find(' ') + 1));
        return heard;
    }

    int port = 0;
};

// A second client is refused while one is connected: a gateway tells it why first. The
// network delays every answer.
TEST_F(NetLine, ADeviceServerServesOneClientAtATime) {
    const std::string inUse = "Port already in use\r\n";
    const auto ask = [](Client& client) {
        const auto t0 = Steady::now();
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(kModel.size()), kModel);
        EXPECT_GE(std::chrono::duration<double>(Steady::now() - t0).count(), 0.25);
    };
    const struct {
        std::string protocol;
        Bytes refusal;
        std::string kind;  // as the log names it
    } servers[] = {{"tcp", Bytes(inUse.begin(), inUse.end()), "(a gateway at 19200 8N2)"},
                   {"rfc2217", {}, "(a port starting at 19200 8N2)"}};
    for (const auto& [protocol, refusal, kind] : servers) {
        SCOPED_TRACE(protocol);
        Start(protocol, {"--net-delay", "250"});
        {
            Client first(port);
            ask(first);
            Client second(port);
            EXPECT_EQ(second.Read(100), refusal);
            EXPECT_EQ(second.end, -1);
            ask(first);  // still served
        }
        Client next(port);
        ask(next);
        const std::string at = "127.0.0.1:" + std::to_string(port);  // taken: a second start fails
        RunToEnd({"--listen", protocol + ":" + std::to_string(port)}, 1,
                 "cannot listen on " + at + ": Address already in use");
        const std::string log = Stderr();
        for (const std::string& line :
             {" on " + protocol + "://127.0.0.1:", kind, std::string("client 127.0.0.1:"),
              std::string("refused 127.0.0.1:")})
            EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
}

// The gateway stays at the settings it was given; the instrument, once it takes others, hears
// nothing more through it.
TEST_F(NetLine, ARawGatewayFallsSilentOnceTheInstrumentLeavesItsSettings) {
    const struct {
        const char* baud;
        Bytes change;
        bool echoed;
    } cases[] = {
        {"19200", Sealed({0x01, 0x06, 0x00, 0x0E, 0x00, 0x02}), true},  // baud rate written
        {"19200", Sealed({0x01, 0x06, 0x00, 0x1D, 0x00, 0x03}), true},  // frame format written
        {"9600", Sealed({0x00, 0x05, 0x0A, 0x07, 0x6C, 0x2E}), false},  // forcing broadcast
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sim::Hex(c.change));
        Start("tcp", {"--baud", c.baud});
        Client client(port);
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(kModel.size()).size(), kModel.size());
        client.Send(c.change);
        EXPECT_EQ(client.Read(8, c.echoed ? 2.0 : kSilence), c.echoed ? c.change : Bytes{});
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(1, kSilence), Bytes{});
        const std::vector<std::string> heard = Heard();
        ASSERT_EQ(heard.size(), 3u);
        EXPECT_EQ(heard[2],
                  std::string(c.baud) + " 8N2 " + sim::Hex(kReadModel) + " -> wrong line settings");
    }
}

// The client's purges drop what is pending each way; its settings are acknowledged and the
// instrument answers only at its own.
TEST_F(NetLine, ATelnetPortPurgesAndAnswersAtTheSettingsItsClientSets) {
    Start("rfc2217", {"--turnaround", "200"});
    Client client(port);
    EXPECT_EQ(client.Negotiate(),
              (Bytes{kIac, kDo, kBinary, kIac, kWill, kBinary, kIac, kDo, kComPort}));
    // Half a request, then the server's transmit buffer purged: the next request stands alone.
    client.Send(
        Cat({Bytes(kReadModel.begin(), kReadModel.begin() + 4), Sub(kPurgeData, {2}), kReadModel}));
    const Bytes expected = Cat({Sub(kPurgeData + kServerOffset, {2}), kModel});
    EXPECT_EQ(client.Read(expected.size()), expected);
    // A request, then the receive buffer purged before its answer is out: no answer.
    client.Send(Cat({kReadModel, Sub(kPurgeData, {1})}));
    const Bytes purged = Sub(kPurgeData + kServerOffset, {1});
    EXPECT_EQ(client.Read(purged.size()), purged);
    EXPECT_EQ(client.Read(1, 0.4), Bytes{});

    // Each setting away from the instrument's and back: acknowledged each time, heard only
    // at the instrument's own.
    const struct {
        std::uint8_t command;
        Bytes other, own;
    } settings[] = {
        {kSetBaudRate, {0, 0, 0x25, 0x80}, {0, 0, 0x4B, 0x00}},
        {kSetDataSize, {7}, {8}},
        {kSetParity, {3}, {1}},
        {kSetStopSize, {1}, {2}},
    };
    for (const auto& s : settings) {
        SCOPED_TRACE(static_cast<int>(s.command));
        for (const Bytes* value : {&s.other, &s.own}) {
            const Bytes ack = Sub(s.command + kServerOffset, *value);
            client.Send(Sub(s.command, *value));
            EXPECT_EQ(client.Read(ack.size()), ack);
            client.Send(kReadModel);
            EXPECT_EQ(client.Read(kModel.size(), value == &s.other ? kSilence : 2.0),
                      value == &s.other ? Bytes{} : kModel);
        }
    }
    // Parity is seen, unlike on a pseudo-terminal.
    const std::string answered =
        "19200 8N2 " + sim::Hex(kReadModel) + " -> answered: " + sim::Hex(kModel);
    std::vector<std::string> heard{answered, answered};
    for (const char* other : {"9600 8N2", "19200 7N2", "19200 8E2", "19200 8N1"}) {
        heard.push_back(other + (" " + sim::Hex(kReadModel)) + " -> wrong line settings");
        heard.push_back(answered);
    }
    EXPECT_EQ(Heard(), heard);
}

TEST_F(NetLine, AResetComesInTheMiddleOfTheAnswerAStallKeepsTheConnectionSilent) {
    for (const char* fault : {"reset", "stall"}) {
        SCOPED_TRACE(fault);
        Start("rfc2217", {"--fault", fault});
        {
            Client client(port);
            client.Negotiate();
            client.Send(kReadModel);
            if (fault == std::string("reset")) {
                EXPECT_EQ(client.Read(kModel.size()), Bytes(kModel.begin(), kModel.begin() + 6));
                EXPECT_EQ(client.end, ECONNRESET);
            } else {
                EXPECT_EQ(client.Read(1, kSilence), Bytes{});
                client.Send({kIac, kWill, kBinary});  // not even the Telnet end answers
                EXPECT_EQ(client.Read(1, kSilence), Bytes{});
                EXPECT_EQ(client.end, 0);
            }
        }
        // The next connection is served.
        Client next(port);
        next.Negotiate();
        next.Send(kReadModel);
        EXPECT_EQ(next.Read(kModel.size()), kModel);
    }
}

}  // namespace
