// The instrument on the virtual clock. On its line: where requests begin and end in a byte
// stream, who it hears and when (line settings, stations, broadcasts, the link registers that
// switch after their answer, the forcing broadcast), injected faults as the suite's client
// meets them, and the answer timing. Its registers through the suite's client: model A's
// identity, parameter block, exceptions, relays, alarms and calibration commands, the moving
// value; model B's 16-bit block, the 32-bit values one per address, codes 16 and 9, the second
// values at 0x100C, polarity and its calibration codes.

#include <gtest/gtest.h>

#include "session/link_controls.h"
#include "tests/support/fixtures.h"

namespace {

using sim::FaultKind;
using sim::Outcome;
using simtest::Bytes;

const serial::LineSettings k8N2 = sim::LinkSettings(3, 1);
// The model register read and its answer.
const Bytes kRequest = {0x01, 0x03, 0x1F, 0x00, 0x00, 0x01};
const Bytes kAnswer = simtest::Sealed({0x01, 0x03, 0x02, 0x68, 0x02});

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// Everything the device has sent by time upTo.
Bytes Drain(sim::SimulatedDevice& d, double upTo = 1e9) {
    Bytes out;
    std::uint8_t b = 0;
    double at = 0.0;
    while (d.NextByte(upTo, &b, &at))
        out.push_back(b);
    return out;
}

// The simulator's own CRC against frames whose CRC is known from outside the suite; the framer
// cuts a stream by each request's length and flushes the rest.
TEST(Frames, CrcSealsKnownFramesAndTheFramerCutsByLength) {
    Bytes check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};  // the CRC's published check value
    sim::Seal(&check);
    EXPECT_EQ(Bytes(check.begin() + 9, check.end()), (Bytes{0x37, 0x4B}));
    Bytes request{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04};
    sim::Seal(&request);
    EXPECT_EQ(request, (Bytes{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04, 0x43, 0xDD}));
    EXPECT_TRUE(sim::CrcMatches(request));
    for (std::size_t i = 0; i < request.size(); ++i) {
        Bytes spoilt = request;
        spoilt[i] ^= 0x01;
        EXPECT_FALSE(sim::CrcMatches(spoilt)) << i;
    }
    EXPECT_FALSE(sim::CrcMatches(Bytes{0xFF, 0xFF, 0xFF}));

    sim::Framer f;
    const Bytes a = simtest::Sealed({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
    const Bytes b = simtest::Sealed({0x01, 0x10, 0x10, 0x01, 0x00, 0x02, 0x04, 0, 0, 0, 7});
    const Bytes stream = Cat({a, b, {0x01}});
    for (std::size_t i = 0; i < stream.size(); ++i)
        f.Push(stream[i], static_cast<double>(i));
    using Cut = std::tuple<Bytes, double, double>;  // the bytes, when the first and last came
    std::vector<Cut> cut;
    sim::Framer::Frame frame;
    while (f.Next(&frame))
        cut.emplace_back(frame.bytes, frame.firstAt, frame.lastAt);
    EXPECT_EQ(cut, (std::vector<Cut>{{a, 0.0, 7.0}, {b, 8.0, 20.0}}));
    ASSERT_TRUE(f.Flush(&frame));
    EXPECT_EQ(frame.bytes, Bytes{0x01});
    EXPECT_TRUE(f.Empty());

    for (int i = 0; i < 300; ++i)
        f.Push(0x55, 0.0);  // noise never makes a frame: taken in runs of the longest one
    ASSERT_TRUE(f.Next(&frame));
    EXPECT_EQ(frame.bytes.size(), sim::kMaxFrame);
}

using Framing = simtest::SimTest;  // the requests are fed to the device directly

// Noise in front spoils a request but not the next one; back-to-back requests talk over the
// first answer; a wrong length for the code is refused.
TEST_F(Framing, WhatTheStreamHoldsDecidesTheAnswerAndRandomBytesNeverUpsetIt) {
    sim->Receive(k8N2, Cat({{0xFF}, Sealed(kRequest)}), 0.0);
    EXPECT_EQ(Drain(*sim), Bytes{});
    sim->Receive(k8N2, Sealed(kRequest), 1.0);
    EXPECT_EQ(Drain(*sim), kAnswer);
    EXPECT_EQ(Outcomes(), (std::vector<Outcome>{Outcome::kBadFrame, Outcome::kAnswered}));

    inst->TakeLog();
    sim->Receive(k8N2,
                 Cat({Sealed({0x01, 0x05, 0x00, 0x08, 0x00, 0x09}),
                      Sealed({0x01, 0x03, 0x00, 0x08, 0x00, 0x01})}),
                 2.0);
    EXPECT_EQ(Drain(*sim), Sealed({0x01, 0x03, 0x02, 0x00, 0x09}));
    ASSERT_EQ(inst->Log().size(), 2u);
    EXPECT_DOUBLE_EQ(inst->Log()[1].start, inst->Log()[0].end);

    EXPECT_EQ(inst->Handle(k8N2, Sealed({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00}), 9.0).bytes,
              Sealed({0x01, 0x83, 0x03}));
    EXPECT_EQ(inst->Handle(k8N2, Bytes{0x01, 0x03}, 9.0).bytes, Bytes{});
    EXPECT_EQ(inst->Handle(k8N2, Bytes{}, 9.0).bytes, Bytes{});

    // Random bytes never upset the instrument.
    Start(sim::DefaultConfig(sim::Model::kB));
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(seed >> 16 & 0xFF);
    };
    double t = 0.0;
    const std::uint8_t codes[] = {3, 4, 5, 6, 9, 16, 0x2B};
    for (int round = 0; round < 4000; ++round) {
        Bytes chunk(1 + next() % 40);
        for (auto& b : chunk)
            b = next();
        if (round % 2 == 1) {
            // A sealed request of random content: reaches the register code.
            chunk.resize(2 + next() % 18);
            chunk[0] = next() % 4 == 0 ? 0 : static_cast<std::uint8_t>(inst->Station(t));
            chunk[1] = codes[next() % 7];
            if (chunk.size() > 2)
                chunk[2] = static_cast<std::uint8_t>(next() % 2 ? 0x10 : next() % 0x20);
            sim::Seal(&chunk);
        }
        sim->Receive(inst->Settings(t), chunk, t);
        t += 1.0;
        for (const sim::LogEntry& e : inst->TakeLog())
            EXPECT_TRUE(e.answer.empty() || sim::CrcMatches(e.answer)) << sim::Hex(e.request);
        Drain(*sim, t);
    }
    const int station = inst->Station(t);
    sim->Receive(inst->Settings(t),
                 Sealed({static_cast<std::uint8_t>(station), 0x03, 0x1F, 0x00, 0x00, 0x01}), t);
    EXPECT_EQ(Drain(*sim).size(), 7u);
}

// The suite's client on the line, at 19200 8N2 unless a test opens it otherwise.
class OnTheLine : public simtest::SimTest {
  protected:
    void SetUp() override { OpenPort(); }
    void Station(int s) { conf::ID_comm::SV(ctx, s); }
    // The stored station, baud index and frame format, as the link start reads them.
    std::vector<std::int16_t> StoredLink() {
        std::vector<std::int16_t> b;
        EXPECT_EQ(Read(0x1000, 6, &b), 0);
        return b.size() == 6 ? std::vector<std::int16_t>{b[0], b[1], b[5]} : b;
    }
};
using ModelA = OnTheLine;
using Faults = OnTheLine;
using LinkBehaviour = OnTheLine;

// A lost or spoilt answer still carries out the request; a refusal does not.
TEST_F(Faults, EachFailsTheTransactionItsOwnWayAnswersAreTimedAndEchoed) {
    const std::pair<FaultKind, int> cases[] = {
        {FaultKind::kSilence, -2000}, {FaultKind::kCut, -2003}, {FaultKind::kLate, -2000},
        {FaultKind::kBadCrc, -1},     {FaultKind::kNoise, -1},  {FaultKind::kException, -2005},
    };
    int value = 10;
    for (const auto& [kind, result] : cases) {
        SCOPED_TRACE(sim::FaultName(kind));
        inst->ClearFaults();
        inst->AddFault({.kind = kind, .count = 0});
        EXPECT_EQ(Read(0x1F00, 4), result);
        const int before = Ram(8);
        EXPECT_EQ(Write(8, ++value), result);
        EXPECT_EQ(Ram(8), kind == FaultKind::kException ? before : value);
        // Struck once, then the next attempt goes through.
        inst->ClearFaults();
        inst->AddFault({.kind = kind});
        inst->TakeLog();
        EXPECT_EQ(Read(0x1F00, 4), 0);
        EXPECT_EQ(Outcomes(), (std::vector<Outcome>{Outcome::kFaulted, Outcome::kAnswered}));
        EXPECT_EQ(inst->Log()[0].fault, kind);
    }

    // Answers are timed: late ones come whole after the delay, noise just before.
    inst->AddFault({.kind = FaultKind::kLate, .delay = 1.0});
    ASSERT_EQ(com.SetComTime(222, 2.0), 0);
    const double t0 = Now();
    EXPECT_EQ(Exchange(kRequest, 7), kAnswer);
    const double c = 11.0 / 19200;
    EXPECT_NEAR(Now() - t0, 8 * c + 0.003 + 1.0 + 7 * c, 1e-9);

    inst->AddFault({.kind = FaultKind::kNoise, .bytes = 3});
    EXPECT_EQ(Exchange(kRequest), Cat({{0x00, 0xFF, 0x55}, kAnswer}));

    // Each byte of an answer at the character time.
    std::uint8_t b = 0;
    double at = 0.0;
    // Paced after the turnaround, then all at once when neither is wanted.
    for (bool paced : {true, false}) {
        if (!paced) Start({.turnaround = 0.0, .paced = false});
        sim->Receive(k8N2, Sealed(kRequest), 10.0);
        for (int i = 0; i < 7; ++i) {
            ASSERT_TRUE(sim->NextByte(100.0, &b, &at));
            EXPECT_NEAR(at, 10.0 + 8 * c + (paced ? 0.003 + (i + 1) * c : 0.0), 1e-12) << i;
        }
        EXPECT_FALSE(sim->NextByte(100.0, &b, &at));
    }

    // An adapter without echo suppression: the request comes back, then the answer; the echo
    // faults spoil the echo only, once each.
    Start({.echo = true});
    OpenPort();
    inst->AddFault({.kind = FaultKind::kEchoGarbled, .after = 1});
    inst->AddFault({.kind = FaultKind::kEchoLost, .after = 2});
    const Bytes echoed = Cat({Sealed(kRequest), kAnswer});
    EXPECT_EQ(Exchange(kRequest), echoed);
    Bytes garbled = echoed;
    garbled[0] ^= 0x40;
    EXPECT_EQ(Exchange(kRequest), garbled);
    EXPECT_EQ(Exchange(kRequest), kAnswer);
    // Noise and requests for other stations are echoed too: the line hears everything.
    EXPECT_EQ(Exchange({0x09, 0x03, 0x1F, 0x00, 0x00, 0x01}),
              Sealed({0x09, 0x03, 0x1F, 0x00, 0x00, 0x01}));
    EXPECT_EQ(Outcomes(), (std::vector<Outcome>{Outcome::kAnswered, Outcome::kFaulted,
                                                Outcome::kFaulted, Outcome::kOtherStation}));
}

TEST_F(LinkBehaviour, OtherLineSettingsAreNotHeardAndAPseudoTerminalIgnoresParity) {
    const serial::LineSettings wrong[] = {
        {9600, serial::kParityNone, 8, 2},
        {19200, serial::kParityNone, 8, 1},
        {19200, serial::kParityEven, 8, 2},
        {19200, serial::kParityNone, 7, 2},
    };
    inst->TakeLog();
    for (const auto& s : wrong) {
        Open(s.baud, s.parity, s.dataBits, s.stopBits);
        EXPECT_EQ(Read(0x1F00, 1), -2000) << sim::SettingsText(s);
    }
    EXPECT_EQ(Outcomes(), std::vector<Outcome>(12, Outcome::kWrongSettings));
    EXPECT_EQ(inst->Log()[3].settings, (serial::LineSettings{19200, serial::kParityNone, 8, 1}));
    Open(19200, serial::kParityNone, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    // A pseudo-terminal carries no parity: only the speed and stop bits are compared.
    Start({.lineCheck = sim::LineCheck::kBaudAndStopBits});
    Open(19200, serial::kParityEven, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);
    Open(19200, serial::kParityNone, 8, 1);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
}

// Other stations and broadcasts get no answer; the link registers switch after theirs.
TEST_F(LinkBehaviour, WhoIsAnsweredWhenTheLinkRegistersSwitchAndWhatForcingDoes) {
    Station(2);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Station(0);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    EXPECT_EQ(Write(8, 9), -2000);  // carried out all the same, three times
    EXPECT_EQ(Ram(8), 9);
    std::vector<Outcome> expected(3, Outcome::kOtherStation);
    expected.insert(expected.end(), 6, Outcome::kBroadcast);
    EXPECT_EQ(Outcomes(), expected);
    EXPECT_EQ(Drain(*sim), Bytes{});

    Station(1);
    ASSERT_EQ(Write(13, 5), 0);  // answered from station 1
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Station(5);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    ASSERT_EQ(Write(14, 2), 0);  // answered at 19200
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityNone, 8, 2);
    EXPECT_EQ(Read(0x1F00, 1), 0);

    ASSERT_EQ(Write(29, 3), 0);  // answered at 8N2
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityEven, 8, 1);
    // The second values are the stored settings: still 1, 19200, 8N2.
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{1, 3, 1}));
    ASSERT_EQ(Write(8, 5, 6), 0);  // any EEPROM write stores the new link settings too
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{5, 2, 3}));

    // The switch comes with the answer's last byte.
    Start({});
    const Bytes req = Sealed({0x01, 0x05, 0x00, 0x0E, 0x00, 0x00});
    const sim::Reply r = inst->Handle(k8N2, req, 1.0);
    ASSERT_EQ(r.bytes, req);
    const double last = r.start + 8 * r.charTime;
    EXPECT_DOUBLE_EQ(r.charTime, 11.0 / 19200);
    EXPECT_EQ(inst->Settings(last - 1e-6).baud, 19200);
    EXPECT_EQ(inst->Settings(last).baud, 2400);

    // The forcing broadcast as the scanner sends it: heard only at the instrument's own
    // settings, it puts the instrument on station 1, 19200 8N2 in RAM only.
    Start({.station = 7, .baudIndex = 2, .formatIndex = 3});  // 9600 8E1
    for (bool own : {false, true}) {
        Open(own ? 9600 : 19200, own ? serial::kParityEven : serial::kParityNone, 8, own ? 1 : 2);
        Station(0);
        EXPECT_EQ(Write(0x0A07, 0x6C2E, 5), -2000);  // never answered
        Station(1);
    }
    // Heard once at its own settings; the client's two further attempts are at the old ones.
    const Outcome wrong = Outcome::kWrongSettings;
    EXPECT_EQ(Outcomes(),
              (std::vector<Outcome>{wrong, wrong, wrong, Outcome::kBroadcast, wrong, wrong}));
    Open(19200, serial::kParityNone, 8, 2);
    EXPECT_EQ(Reg(0x1F00), 0x6802);
    EXPECT_EQ(StoredLink(), (std::vector<std::int16_t>{7, 2, 3}));

    inst->PowerCycle(Now());  // RAM only: back on its own settings
    EXPECT_EQ(Read(0x1F00, 1), -2000);
    Open(9600, serial::kParityEven, 8, 1);
    Station(7);
    EXPECT_EQ(Read(0x1F00, 1), 0);
    // Addressed instead of broadcast, it is answered first.
    EXPECT_EQ(Write(0x0A07, 0x6C2E), 0);
    EXPECT_EQ(Read(0x1F00, 1), -2000);
}

// The identity read with code 3 and the factory block are checked through the network port and
// an outside master (mbpoll) in program_test.
// Refused requests get exceptions and change nothing.
TEST_F(ModelA, AnswersAreByteExactRefusalsChangeNothingFirmwareOneEndsTheBlockEarly) {
    EXPECT_EQ(Reg(0x001F), 1);  // RS-485 on
    // The identity is read-only memory: code 4 reads it too.
    EXPECT_EQ(Exchange({0x01, 0x04, 0x1F, 0x00, 0x00, 0x02}),
              Sealed({0x01, 0x04, 0x04, 0x68, 0x02, 0x00, 0x00}));
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x01, 0x07, 0x00, 0x00, 0x00, 0x01}, {0x01, 0x87, 0x01}},  // unknown function
        {{0x01, 0x10, 0x00, 0x08, 0x00, 0x01, 0x02, 0x00, 0x07}, {0x01, 0x90, 0x01}},  // B only
        {{0x01, 0x03, 0x01, 0x00, 0x00, 0x01}, {0x01, 0x83, 0x02}},  // no such register
        {{0x01, 0x03, 0x00, 0x1E, 0x00, 0x03}, {0x01, 0x83, 0x02}},  // runs past register 31
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x00}, {0x01, 0x83, 0x03}},  // no registers
        {{0x01, 0x03, 0x00, 0x00, 0x00, 0x7E}, {0x01, 0x83, 0x03}},  // more than 125
        {{0x01, 0x04, 0x00, 0x00, 0x00, 0x01}, {0x01, 0x84, 0x02}},  // read-only read of a setting
        {{0x01, 0x03, 0x0A, 0x07, 0x00, 0x01}, {0x01, 0x83, 0x02}},  // the forcing register
        {{0x01, 0x05, 0x1F, 0x00, 0x00, 0x01}, {0x01, 0x85, 0x02}},  // identity is read-only
        {{0x01, 0x06, 0x10, 0x03, 0x00, 0x01}, {0x01, 0x86, 0x02}},  // converter is read-only
        {{0x01, 0x05, 0x00, 0x00, 0x00, 0x0E}, {0x01, 0x85, 0x03}},  // input type 14
        {{0x01, 0x05, 0x00, 0x0D, 0x00, 0x00}, {0x01, 0x85, 0x03}},  // station 0
        {{0x01, 0x05, 0x00, 0x0E, 0x00, 0x04}, {0x01, 0x85, 0x03}},  // baud index 4
        {{0x01, 0x05, 0x1F, 0x04, 0x00, 0x01}, {0x01, 0x85, 0x03}},  // digits without 0x4600
        {{0x01, 0x06, 0x1F, 0x05, 0x47, 0x03}, {0x01, 0x86, 0x03}},  // three alarms
        {{0x01, 0x05, 0x0A, 0x02, 0x00, 0x0A}, {0x01, 0x85, 0x03}},  // a model B command
        {{0x01, 0x05, 0x0A, 0x04, 0x00, 0x02}, {0x01, 0x85, 0x03}},  // relay state 2
        {{0x01, 0x06, 0x0A, 0x07, 0x6C, 0x2E}, {0x01, 0x86, 0x03}},  // forcing goes to RAM only
    };
    std::vector<std::int16_t> before, block;
    ASSERT_EQ(Read(0, 31, &before), 0);
    inst->TakeLog();
    for (const auto& [request, answer] : cases)
        EXPECT_EQ(Exchange(request), Sealed(answer)) << sim::Hex(request);
    EXPECT_EQ(Outcomes(), std::vector<sim::Outcome>(std::size(cases), sim::Outcome::kException));
    ASSERT_EQ(Read(0, 31, &block), 0);
    EXPECT_EQ(block, before);
    EXPECT_EQ(Read(0x1F04, 2, &block), 0);
    EXPECT_EQ(block, (std::vector<std::int16_t>{1, 2}));
    EXPECT_EQ(Exchange({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}),
              Sealed({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}));  // a write is echoed

    // Firmware 1 ends the block at register 28.
    Start({.code = 106, .firmware = 1});
    OpenPort();
    EXPECT_EQ(Read(0, 29, &block), 0);
    EXPECT_EQ(block, std::vector<std::int16_t>(before.begin(), before.begin() + 29));
    EXPECT_EQ(Exchange({0x01, 0x03, 0x00, 0x00, 0x00, 0x1F}), Sealed({0x01, 0x83, 0x02}));
    EXPECT_EQ(Reg(0x1F00), 0x6A01);
    EXPECT_EQ(Reg(0x1005), 1);  // its frame format, fixed at 8N2
}

TEST_F(ModelA, RelayTestsAlarmsAndCalibrationCommands) {
    // The value starts at 100, alarm 2's set point: alarm 2 is on, alarm 1 (800) off.
    Advance(1.0);
    EXPECT_EQ(Reg(0x1006), 2);
    ASSERT_EQ(Write(0x0A04, 1), 0);
    EXPECT_EQ(Reg(0x1006), 3);
    EXPECT_EQ(Reg(0x0A04), 1);
    ASSERT_EQ(Write(0x1F05, 0x4700, 6), 0);  // no alarms in use
    EXPECT_EQ(Reg(0x1006), 1);
    inst->PowerCycle(Now());
    EXPECT_EQ(inst->RelayTest(0), 0);
    EXPECT_EQ(Reg(0x1006), 0);

    // Calibration commands are kept in order; the last one reads back until the power goes.
    const std::vector<std::pair<int, int>> steps = {{1, 5}, {2, 6}, {27, 5}, {28, 5}, {0, 6}};
    for (const auto& [command, code] : steps)
        ASSERT_EQ(Write(0x0A02, command, code), 0);
    std::vector<std::pair<int, int>> kept;
    for (const auto& c : inst->Calibrations()) {
        kept.emplace_back(c.command, c.functionCode);
        EXPECT_GT(c.readings[0], 2000);
    }
    EXPECT_EQ(kept, steps);
    ASSERT_EQ(Write(0x0A02, 9, 6), 0);
    EXPECT_EQ(Reg(0x0A02), 9);  // the last command
    inst->PowerCycle(Now());
    EXPECT_EQ(Reg(0x0A02), 0);
}

TEST_F(ModelA, ProcessValueSweepsTheMeasuringRange) {
    // Thermocouple at DP 0: tenths of a degree, 0.1 of 0..1000 at power-on, 0.5 after 60 s.
    EXPECT_NEAR(Reg(0x1002), 1000, 2);
    Advance(60.0);
    EXPECT_NEAR(Reg(0x1002), 5000, 10);
    EXPECT_NEAR(Reg(0x1003), 16000, 50);
    Advance(60.0);
    EXPECT_NEAR(Reg(0x1002), 9000, 10);
    EXPECT_EQ(Reg(0x1006), 3);  // above both set points
    Advance(60.0);
    EXPECT_NEAR(Reg(0x1002), 5000, 10);
    ASSERT_EQ(Write(3, 200), 0);
    ASSERT_EQ(Write(4, 400), 0);
    ASSERT_EQ(Write(5, 10), 0);
    EXPECT_NEAR(Reg(0x1002), 3100, 10);
    ASSERT_EQ(Write(2, 1), 0);  // DP 1: the range is in tenths already
    EXPECT_NEAR(Reg(0x1002), 310, 1);

    inst->SetOpenSensor(true);
    EXPECT_EQ(Reg(0x1002), 0x7FFF);
    EXPECT_EQ(Reg(0x1003), 32767);
    EXPECT_EQ(Reg(0x1006), 3);
    inst->SetOpenSensor(false);

    ASSERT_EQ(Write(0, 13), 0);  // remote value input
    ASSERT_EQ(Write(0x1002, -1234), 0);
    EXPECT_EQ(Reg(0x1002), -1234);
}

class ModelB : public OnTheLine {
  protected:
    ModelB() { Start(sim::DefaultConfig(sim::Model::kB)); }
    std::int32_t Value32(int address) {
        std::vector<std::int32_t> v(1);
        EXPECT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 3, address, 1, v), 0);
        return v[0];
    }
};

// Its own identity, the wide settings moved out of the 16-bit block, the stored link at 0x100C.
TEST_F(ModelB, BlocksSitWhereModelBKeepsThemWideValuesAreWrittenWithCodes16And9) {
    EXPECT_EQ(Reg(0x1F00), 0x6903);
    std::vector<std::int16_t> block;
    ASSERT_EQ(Read(0, 31, &block), 0);
    EXPECT_EQ(std::vector<std::int16_t>(block.begin(), block.begin() + 5),
              (std::vector<std::int16_t>{2, 0, 1, 0, 0}));  // milliamperes, one decimal
    EXPECT_EQ(Reg(0x0020), 1);
    EXPECT_EQ(Reg(0x0A08), 0);
    std::vector<std::int32_t> wide(9);
    ASSERT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 3, 0x1001, 9, wide), 0);
    EXPECT_EQ(wide, (std::vector<std::int32_t>{0, 10000, 0, 10000, 8000, 10, 2000, 10, 0}));
    ASSERT_EQ(Read(0x100C, 3, &block), 0);
    EXPECT_EQ(block, (std::vector<std::int16_t>{1, 3, 1}));
    // Half a wide value is refused.
    const std::pair<Bytes, Bytes> cases[] = {
        {{0x01, 0x03, 0x10, 0x01, 0x00, 0x01}, {0x01, 0x83, 0x02}},
        {{0x01, 0x05, 0x10, 0x01, 0x00, 0x05}, {0x01, 0x85, 0x02}},
        {{0x01, 0x10, 0x10, 0x01, 0x00, 0x01, 0x02, 0x00, 0x05}, {0x01, 0x90, 0x02}},
        {{0x01, 0x10, 0x10, 0x01, 0x00, 0x02, 0x02, 0x00, 0x05}, {0x01, 0x90, 0x03}},  // byte count
        {{0x01, 0x10, 0x10, 0x0A, 0x00, 0x02, 0x04, 0, 0, 0, 1}, {0x01, 0x90, 0x02}},  // converter
        // Station 5 is fine, baud index 9 is not.
        {{0x01, 0x10, 0x00, 0x0D, 0x00, 0x02, 0x04, 0x00, 0x05, 0x00, 0x09}, {0x01, 0x90, 0x03}},
    };
    for (const auto& [request, answer] : cases)
        EXPECT_EQ(Exchange(request), Sealed(answer)) << sim::Hex(request);
    EXPECT_EQ(Ram(13), 1);  // one bad value refuses the whole request

    // Wide values are written with codes 16 and 9, and stored.
    EXPECT_EQ(Exchange({0x01, 0x10, 0x10, 0x02, 0x00, 0x02, 0x04, 0x00, 0x01, 0x86, 0xA0}),
              Sealed({0x01, 0x10, 0x10, 0x02, 0x00, 0x02}));
    EXPECT_EQ(Value32(0x1002), 100000);
    ASSERT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 9, 0x1009, -250), 0);
    inst->PowerCycle(Now());
    EXPECT_EQ(Value32(0x1002), 100000);
    EXPECT_EQ(Value32(0x1009), -250);
    // Two values in one request, and 16-bit registers through code 16.
    EXPECT_EQ(Exchange({0x01, 0x10, 0x10, 0x05, 0x00, 0x04, 0x08, 0, 0, 0x1B, 0x58, 0, 0, 0, 5}),
              Sealed({0x01, 0x10, 0x10, 0x05, 0x00, 0x04}));
    EXPECT_EQ(Value32(0x1005), 7000);
    EXPECT_EQ(Value32(0x1006), 5);
    EXPECT_EQ(Exchange({0x01, 0x10, 0x00, 0x0B, 0x00, 0x02, 0x04, 0x01, 0x00, 0x7F, 0x00}),
              Sealed({0x01, 0x10, 0x00, 0x0B, 0x00, 0x02}));
    EXPECT_EQ(Reg(12), 0x7F00);
}

TEST_F(ModelB, ProcessValueAndConverterAreWidePolaritySelectsTheCalibrationCodes) {
    EXPECT_NEAR(Value32(0x1000), 1000, 2);
    EXPECT_NEAR(Value32(0x100A), 260000, 1000);
    Advance(60.0);
    EXPECT_NEAR(Value32(0x1000), 5000, 10);
    EXPECT_EQ(Reg(0x001F), 2);  // above alarm 2's 200.0, below alarm 1's 800.0
    inst->SetOpenSensor(true);  // model A's alone: model B's value stays a number
    EXPECT_NEAR(Value32(0x1000), 5000, 30);
    // A remote value shows at each of model B's own input types, until the power goes.
    for (int type : {0, 1, 2}) {
        ASSERT_EQ(Write(0, type), 0);
        ASSERT_EQ(conf::fn_Modbus_Device_RW_32(ctx, 16, 0x1000, 123456 + type), 0);
        EXPECT_EQ(Value32(0x1000), 123456 + type);
    }
    inst->PowerCycle(Now());
    EXPECT_NE(Value32(0x1000), 123458);

    // Polarity selects the second set of calibration codes.
    ASSERT_EQ(Write(0x0A08, 1, 6), 0);
    EXPECT_EQ(Reg(0x0A08), 1);
    EXPECT_EQ(Write(0x0A08, 2, 6), -2005);
    for (int code = 4; code <= 15; ++code)
        EXPECT_EQ(Write(0x0A02, code, code % 2 ? 6 : 5), 0) << code;
    EXPECT_EQ(Write(0x0A02, 3, 5), -2005);
    EXPECT_EQ(inst->Calibrations().size(), 12u);
    EXPECT_EQ(
        std::tie(inst->Calibrations().back().command, inst->Calibrations().back().functionCode),
        std::make_tuple(15, 6));
}

}  // namespace
