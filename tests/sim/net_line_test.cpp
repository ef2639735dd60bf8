// The network port. Its Telnet end alone: option answers, port settings and their
// acknowledgements, purges, 0xFF escaping, bytes in any pieces. Then instrument-sim itself
// listening on 127.0.0.1, in real time, met by a plain client socket: a transparent gateway, a
// Telnet port with its settings and purges, one client at a time, the network faults.

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "sim/telnet_codec.h"
#include "tests/support/child_process.h"
#include "tests/support/files.h"
#include "tests/support/frames.h"

namespace {

using namespace sim::telnet;
using conf_test::kModel;
using conf_test::kReadModel;
using conf_test::Sealed;
using sim::Bytes;
using sim::LineInput;
using Steady = std::chrono::steady_clock;

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

TEST(TelnetCodec, OptionsAreAgreedOnceAndOthersRefused) {
    const std::pair<Bytes, Bytes> cases[] = {
        {{kIac, kWill, kBinary}, {kIac, kDo, kBinary}},
        {{kIac, kDo, kBinary}, {kIac, kWill, kBinary}},
        {{kIac, kWill, kComPort}, {kIac, kDo, kComPort}},
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
    for (const auto& [in, reply] : cases) {
        const Fed f = Feed(in);
        EXPECT_EQ(f.reply, reply) << ::testing::PrintToString(in);
        EXPECT_EQ(f.pieces, "");
    }
}

TEST(TelnetCodec, SettingsAreAcknowledgedWithTheValueInForce) {
    struct Case {
        std::uint8_t command;
        Bytes value;
        Bytes ack;  // empty: no answer
        serial::LineSettings after;
        int purge;
    };
    const Case cases[] = {
        {kSetBaudRate, {0, 0, 0x25, 0x80}, {0, 0, 0x25, 0x80}, {9600, 0, 8, 2}, 0},
        {kSetBaudRate, {0, 0, 0, 0}, {0, 0, 0x4B, 0x00}, k8N2, 0},        // a query
        {kSetBaudRate, {0, 0, 0x30, 0x39}, {0, 0, 0x4B, 0x00}, k8N2, 0},  // 12345: not taken
        {kSetBaudRate, {0x25, 0x80}, {}, k8N2, 0},
        {kSetDataSize, {7}, {7}, {19200, 0, 7, 2}, 0},
        {kSetDataSize, {0}, {8}, k8N2, 0},
        {kSetDataSize, {9}, {8}, k8N2, 0},
        {kSetParity, {3}, {3}, {19200, serial::kParityEven, 8, 2}, 0},
        {kSetParity, {2}, {2}, {19200, serial::kParityOdd, 8, 2}, 0},
        {kSetParity, {5}, {5}, {19200, serial::kParitySpace, 8, 2}, 0},
        {kSetParity, {0}, {1}, k8N2, 0},
        {kSetParity, {6}, {1}, k8N2, 0},
        {kSetStopSize, {1}, {1}, {19200, 0, 8, 1}, 0},
        {kSetStopSize, {3}, {2}, k8N2, 0},  // one and a half: not taken
        {kSetStopSize, {0}, {2}, k8N2, 0},
        {kSetControl, {1}, {1}, k8N2, 0},
        {kSetControl, {0}, {1}, k8N2, 0},
        {kSetControl, {9}, {9}, k8N2, 0},
        {kSetControl, {7}, {8}, k8N2, 0},
        {kSetControl, {12}, {12}, k8N2, 0},
        {kSetControl, {20}, {}, k8N2, 0},
        {kPurgeData, {1}, {1}, k8N2, sim::kPurgeOutput},
        {kPurgeData, {2}, {2}, k8N2, sim::kPurgeInput},
        {kPurgeData, {3}, {3}, k8N2, sim::kPurgeInput | sim::kPurgeOutput},
        {kPurgeData, {0}, {}, k8N2, 0},
        {0, {}, {}, k8N2, 0},       // the signature
        {10, {0xFF}, {}, k8N2, 0},  // the line state mask
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(Sub(c.command, c.value)));
        const Fed f = Feed(Sub(c.command, c.value));
        EXPECT_EQ(f.reply, c.ack.empty() ? Bytes{} : Sub(c.command + kServerOffset, c.ack));
        EXPECT_EQ(f.after, c.after);
        EXPECT_EQ(f.pieces, c.purge ? "19200 8N2 [] " + std::to_string(c.purge) + "; " : "");
    }
}

TEST(TelnetCodec, DataComesUnescapedInPiecesCutAtSettingsAndPurgesWhateverTheReads) {
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
        while (got.size() < want && end_ == 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(until - Steady::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            std::uint8_t buf[256];
            const ssize_t n = recv(fd_, buf, std::min(sizeof buf, want - got.size()), 0);
            if (n > 0)
                got.insert(got.end(), buf, buf + n);
            else
                end_ = n == 0 ? -1 : errno;
        }
        return got;
    }
    // A Telnet client's opening (binary both ways, the COM port option): what came back.
    Bytes Negotiate() {
        Send({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kComPort});
        return Read(9);
    }
    // 0 while open, -1 after an orderly end, else the error that ended it.
    int End() const { return end_; }

  private:
    int fd_;
    int end_ = 0;
};

// instrument-sim listening with its log on, each start a program of its own.
class NetLine : public ::testing::Test {
  protected:
    // Started with `args` after --listen PROTOCOL:0: the port it listens on.
    void Start(const std::string& protocol, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {INSTRUMENT_SIM_PATH, "--listen", protocol + ":0", "--log"});
        sim = std::make_unique<conf_test::Child>();
        ASSERT_TRUE(sim->Spawn(args, dir.Sub(""), dir.Sub("sim.err")));
        const std::string line = sim->FirstLine(),
                          head = "listening on " + protocol + "://127.0.0.1:";
        ASSERT_EQ(line.rfind(head, 0), 0u) << line << "\n" << Log();
        port = std::stoi(line.substr(head.size()));
    }
    std::string Log() { return conf_test::ReadFile(dir.Sub("sim.err")); }
    // Ends the program: every request it took, as its log shows them without their times.
    std::vector<std::string> Heard() {
        EXPECT_EQ(sim->Stop(), 0);
        std::vector<std::string> heard;
        std::istringstream in(Log());
        for (std::string line; std::getline(in, line);)
            if (line.find_first_of("-0123456789") == 0)  // a request: its time, maybe negative
                heard.push_back(line.substr(line.find(' ') + 1));
        return heard;
    }

    conf_test::ScratchDir dir;
    std::unique_ptr<conf_test::Child> sim;
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
            EXPECT_EQ(second.End(), -1);
            ask(first);  // still served
        }
        Client next(port);
        ask(next);
        const std::string log = Log();
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

TEST_F(NetLine, ATelnetPortAnswersAtTheSettingsItsClientSets) {
    Start("rfc2217");
    Client client(port);
    EXPECT_EQ(client.Negotiate(),
              (Bytes{kIac, kDo, kBinary, kIac, kWill, kBinary, kIac, kDo, kComPort}));
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
    std::vector<std::string> expected;
    for (const char* other : {"9600 8N2", "19200 7N2", "19200 8E2", "19200 8N1"}) {
        expected.push_back(other + (" " + sim::Hex(kReadModel)) + " -> wrong line settings");
        expected.push_back("19200 8N2 " + sim::Hex(kReadModel) +
                           " -> answered: " + sim::Hex(kModel));
    }
    EXPECT_EQ(Heard(), expected);
}

TEST_F(NetLine, PurgesDropWhatIsPendingEachWay) {
    Start("rfc2217", {"--turnaround", "200"});
    Client client(port);
    client.Negotiate();
    // Half a request, then the server's transmit buffer purged: the next request stands alone.
    client.Send(
        Cat({Bytes(kReadModel.begin(), kReadModel.begin() + 4), Sub(kPurgeData, {2}), kReadModel}));
    const Bytes expected = Cat({Sub(kPurgeData + kServerOffset, {2}), kModel});
    EXPECT_EQ(client.Read(expected.size()), expected);
    // A request, then the receive buffer purged before its answer is out: no answer.
    client.Send(Cat({kReadModel, Sub(kPurgeData, {1})}));
    const Bytes ack = Sub(kPurgeData + kServerOffset, {1});
    EXPECT_EQ(client.Read(ack.size()), ack);
    EXPECT_EQ(client.Read(1, 0.4), Bytes{});
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
                EXPECT_EQ(client.End(), ECONNRESET);
            } else {
                EXPECT_EQ(client.Read(1, kSilence), Bytes{});
                client.Send({kIac, kWill, kBinary});  // not even the Telnet end answers
                EXPECT_EQ(client.Read(1, kSilence), Bytes{});
                EXPECT_EQ(client.End(), 0);
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
