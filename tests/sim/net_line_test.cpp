// The instrument behind a simulated device server, served in real time on 127.0.0.1 and met
// by a plain client socket: a transparent gateway, a Telnet port with its settings, purges and
// escaping, one client at a time, the network faults.

#include <sys/eventfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

#include "net_client.h"
#include "platform/sys/clock.h"
#include "sim/instrument.h"
#include "sim/net_line.h"
#include "sim/server.h"

namespace {

using namespace sim::telnet;
using namespace simtest;
using sim::Bytes;
using sim::NetProtocol;

constexpr sim::Model kA = sim::Model::kA;
constexpr NetProtocol kRaw = NetProtocol::kRawTcp, kTelnet = NetProtocol::kRfc2217;
constexpr double kSilence = 0.3;  // seconds without an answer that count as none

class NetLine : public ::testing::Test {
  protected:
    ~NetLine() override { Stop(); }

    // Serves the instrument on a device server of this protocol at the instrument's settings.
    void Start(NetProtocol protocol, sim::InstrumentConfig config = sim::DefaultConfig(kA),
               const std::vector<sim::Fault>& faults = {}, double delay = 0.0) {
        Stop();
        sim::NetLineOptions o;
        o.protocol = protocol;
        o.settings = sim::LinkSettings(config.baudIndex, config.formatIndex);
        o.delay = delay;
        std::string error;
        ASSERT_EQ(sim::OpenNetLine(o, &line, &error), 0) << error;
        const std::string& path = line->Path();
        ASSERT_EQ(path.rfind(std::string(sim::NetProtocolName(protocol)) + "://127.0.0.1:", 0), 0u)
            << path;
        port = std::stoi(path.substr(path.rfind(':') + 1));
        config.lineCheck = line->Check();
        inst = std::make_unique<sim::Instrument>(config, clock.Now());
        for (const sim::Fault& f : faults)
            inst->AddFault(f);
        stop = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        hooks.eventFd = stop;
        hooks.onEvent = [] { return false; };
        log.clear();
        hooks.onRequest = [this](const sim::LogEntry& e) { log.push_back(e); };
        server = std::thread([this] { served = sim::Serve(*line, *inst, clock, hooks, &error_); });
    }
    // Ends the serving; the instrument stays to be looked at.
    void Stop() {
        if (!server.joinable()) return;
        const std::uint64_t one = 1;
        EXPECT_EQ(write(stop, &one, sizeof one), static_cast<ssize_t>(sizeof one));
        server.join();
        close(stop);
        EXPECT_EQ(served, sim::kServeStopped) << error_;
    }

    sys::SystemClock clock;
    std::unique_ptr<sim::ServedLine> line;
    std::unique_ptr<sim::Instrument> inst;
    sim::ServeHooks hooks;
    std::thread server;
    int stop = -1;
    int served = -1;
    std::string error_;
    int port = 0;
    std::vector<sim::LogEntry> log;  // every request the instrument took, once stopped
};

// A second client is refused while one is connected: a gateway tells it why first.
TEST_F(NetLine, ADeviceServerServesOneClientAtATime) {
    const std::string inUse = "Port already in use\r\n";
    for (const auto& [protocol, refusal] :
         {std::pair{kRaw, Bytes(inUse.begin(), inUse.end())}, std::pair{kTelnet, Bytes{}}}) {
        SCOPED_TRACE(sim::NetProtocolName(protocol));
        Start(protocol);
        {
            Client first(port);
            first.Send(kReadModel);
            EXPECT_EQ(first.Read(kModel.size()), kModel);
            Client second(port);
            EXPECT_EQ(second.Read(100), refusal);
            EXPECT_EQ(second.End(), -1);
            first.Send(kReadModel);  // still served
            EXPECT_EQ(first.Read(kModel.size()), kModel);
        }
        Client next(port);
        next.Send(kReadModel);
        EXPECT_EQ(next.Read(kModel.size()), kModel);
    }
}

// The gateway stays at the settings it was given; the instrument, once it takes others, hears
// nothing more through it.
TEST_F(NetLine, ARawGatewayFallsSilentOnceTheInstrumentLeavesItsSettings) {
    const struct {
        const char* what;
        int baudIndex;
        Bytes change;
        bool echoed;
    } cases[] = {
        {"baud rate written", 3, Sealed({0x01, 0x06, 0x00, 0x0E, 0x00, 0x02}), true},
        {"frame format written", 3, Sealed({0x01, 0x06, 0x00, 0x1D, 0x00, 0x03}), true},
        {"forcing broadcast", 2, Sealed({0x00, 0x05, 0x0A, 0x07, 0x6C, 0x2E}), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::InstrumentConfig config = sim::DefaultConfig(kA);
        config.baudIndex = c.baudIndex;
        Start(kRaw, config);
        Client client(port);
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(kModel.size()).size(), kModel.size());
        client.Send(c.change);
        const Bytes echo = client.Read(8, c.echoed ? 2.0 : kSilence);
        EXPECT_EQ(echo, c.echoed ? c.change : Bytes{});
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(1, kSilence), Bytes{});
        Stop();
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log.back().outcome, sim::Outcome::kWrongSettings);
    }
}

TEST_F(NetLine, ATelnetPortAnswersAtTheSettingsItsClientSets) {
    Start(kTelnet);
    Client client(port);
    EXPECT_EQ(Negotiate(client),
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
    Stop();
    ASSERT_EQ(log.size(), 8u);
    const std::string text = sim::FormatLogEntry(log[4]);  // parity seen, unlike a pty's
    EXPECT_EQ(text.substr(text.find(' ')),
              " 19200 8E2 " + sim::Hex(kReadModel) + " -> wrong line settings");
}

TEST_F(NetLine, ATelnetPortDoubles0xFFBothWays) {
    sim::InstrumentConfig config = sim::DefaultConfig(kA);
    config.code = 0xFF;
    Start(kTelnet, config);
    Client client(port);
    Negotiate(client);
    client.Send(Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01}));
    const Bytes model = Escaped(Sealed({0x01, 0x03, 0x02, 0xFF, 0x02}));
    EXPECT_EQ(client.Read(model.size()), model);
    const Bytes write = Sealed({0x01, 0x06, 0x00, 0x08, 0x00, 0xFF});
    client.Send(Escaped(write));
    EXPECT_EQ(client.Read(Escaped(write).size()), Escaped(write));
    Stop();
    std::int32_t v = 0;
    EXPECT_EQ(inst->StoredValue(8, &v), 0);
    EXPECT_EQ(v, 0xFF);
}

TEST_F(NetLine, PurgesDropWhatIsPendingEachWay) {
    sim::InstrumentConfig config = sim::DefaultConfig(kA);
    config.turnaround = 0.2;
    Start(kTelnet, config);
    Client client(port);
    Negotiate(client);
    // Half a request, then the server's transmit buffer purged: the next request stands alone.
    Bytes in(kReadModel.begin(), kReadModel.begin() + 4);
    const Bytes purgeInput = Sub(kPurgeData, {2});
    in.insert(in.end(), purgeInput.begin(), purgeInput.end());
    in.insert(in.end(), kReadModel.begin(), kReadModel.end());
    client.Send(in);
    Bytes expected = Sub(kPurgeData + kServerOffset, {2});
    expected.insert(expected.end(), kModel.begin(), kModel.end());
    EXPECT_EQ(client.Read(expected.size()), expected);
    // A request, then the receive buffer purged before its answer is out: no answer.
    in = kReadModel;
    const Bytes purgeOutput = Sub(kPurgeData, {1});
    in.insert(in.end(), purgeOutput.begin(), purgeOutput.end());
    client.Send(in);
    const Bytes ack = Sub(kPurgeData + kServerOffset, {1});
    EXPECT_EQ(client.Read(ack.size()), ack);
    EXPECT_EQ(client.Read(1, 2 * config.turnaround), Bytes{});
}

TEST_F(NetLine, AResetComesInTheMiddleOfTheAnswerAStallKeepsTheConnectionSilent) {
    for (const sim::FaultKind kind : {sim::FaultKind::kReset, sim::FaultKind::kStall}) {
        SCOPED_TRACE(sim::FaultName(kind));
        Start(kTelnet, sim::DefaultConfig(kA), {{.kind = kind}});
        {
            Client client(port);
            Negotiate(client);
            client.Send(kReadModel);
            if (kind == sim::FaultKind::kReset) {
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
        Negotiate(next);
        next.Send(kReadModel);
        EXPECT_EQ(next.Read(kModel.size()), kModel);
    }
}

TEST_F(NetLine, TheNetworkDelaysEveryAnswer) {
    Start(kRaw, sim::DefaultConfig(kA), {}, 0.25);
    Client client(port);
    for (int round = 0; round < 2; ++round) {
        const auto t0 = Steady::now();
        client.Send(kReadModel);
        EXPECT_EQ(client.Read(kModel.size()), kModel);
        EXPECT_GE(std::chrono::duration<double>(Steady::now() - t0).count(), 0.25);
    }
}

}  // namespace
