// Injected faults as the suite's client meets them, and the answer timing they disturb.

#include <gtest/gtest.h>

#include "platform/serial/serial_error.h"
#include "tests/support/fixtures.h"

namespace {

using sim::FaultKind;
using sim::Outcome;
using simtest::Bytes;

// The model register read and its answer.
const Bytes kRequest = {0x01, 0x03, 0x1F, 0x00, 0x00, 0x01};
const Bytes kAnswer = [] {
    Bytes b = {0x01, 0x03, 0x02, 0x68, 0x02};
    sim::Seal(&b);
    return b;
}();

class Faults : public simtest::SimTest {
  protected:
    void SetUp() override { OpenPort(); }
};

// A lost or spoilt answer still carries out the request; a refusal does not.
TEST_F(Faults, EachFaultFailsTheTransactionItsOwnWay) {
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
}

TEST_F(Faults, AfterAndCountChooseTheRequestsHit) {
    inst->AddFault({.kind = FaultKind::kSilence, .after = 1, .count = 2});
    EXPECT_EQ(Read(0x1F00, 1), 0);
    EXPECT_EQ(Read(0x1F00, 1), 0);  // third attempt
    EXPECT_EQ(Read(0x1F00, 1), 0);
    EXPECT_EQ(Outcomes(),
              (std::vector<Outcome>{Outcome::kAnswered, Outcome::kFaulted, Outcome::kFaulted,
                                    Outcome::kAnswered, Outcome::kAnswered}));
}

TEST_F(Faults, LateAnswersComeWholeAfterTheDelayNoiseJustBeforeTheAnswer) {
    inst->AddFault({.kind = FaultKind::kLate, .delay = 1.0});
    ASSERT_EQ(com.SetComTime(222, 2.0), 0);
    const double t0 = Now();
    EXPECT_EQ(Exchange(kRequest, 7), kAnswer);
    const double c = 11.0 / 19200;
    EXPECT_NEAR(Now() - t0, 8 * c + 0.003 + 1.0 + 7 * c, 1e-9);

    inst->AddFault({.kind = FaultKind::kNoise, .bytes = 3});
    Bytes expected = {0x00, 0xFF, 0x55};
    expected.insert(expected.end(), kAnswer.begin(), kAnswer.end());
    EXPECT_EQ(Exchange(kRequest), expected);
}

// An adapter without echo suppression: the request comes back, then the answer; the echo faults
// spoil the echo only, once each.
TEST_F(Faults, TheEchoComesBackFirstAndItsFaultsSpoilOnlyIt) {
    sim::InstrumentConfig config = sim::DefaultConfig(sim::Model::kA);
    config.echo = true;
    Start(config);
    OpenPort();
    inst->AddFault({.kind = FaultKind::kEchoGarbled, .after = 1});
    inst->AddFault({.kind = FaultKind::kEchoLost, .after = 2});
    Bytes echoed = Sealed(kRequest);
    echoed.insert(echoed.end(), kAnswer.begin(), kAnswer.end());
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

TEST_F(Faults, AVanishedPortFailsUntilItIsBack) {
    inst->AddFault({.kind = FaultKind::kVanish});
    EXPECT_EQ(Read(0x1F00, 1), -555);  // the next attempts cannot even flush the port
    EXPECT_FALSE(inst->Present());
    EXPECT_EQ(com.OpenComConfig(222, "COM5", 19200, 0, 8, 2), serial::kErrNoDevice);
    inst->Replug();
    OpenPort();
    EXPECT_EQ(Read(0x1F00, 1), 0);
}

TEST_F(Faults, AnswersAreTimedAtTheCharacterTime) {
    const serial::LineSettings s = sim::LinkSettings(3, 1);
    const double c = 11.0 / 19200;
    std::uint8_t b = 0;
    double at = 0.0;
    // Paced after the turnaround, then all at once when neither is wanted.
    for (bool paced : {true, false}) {
        if (!paced) {
            sim::InstrumentConfig fast = sim::DefaultConfig(sim::Model::kA);
            fast.turnaround = 0.0;
            fast.paced = false;
            Start(fast);
        }
        sim->Receive(s, Sealed(kRequest), 10.0);
        for (int i = 0; i < 7; ++i) {
            ASSERT_TRUE(sim->NextByte(100.0, &b, &at));
            EXPECT_NEAR(at, 10.0 + 8 * c + (paced ? 0.003 + (i + 1) * c : 0.0), 1e-12) << i;
        }
        EXPECT_FALSE(sim->NextByte(100.0, &b, &at));
    }
}

}  // namespace
