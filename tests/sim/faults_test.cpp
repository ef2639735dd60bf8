// Injected faults as the suite's client meets them, and the answer timing they disturb.

#include <gtest/gtest.h>

#include "platform/serial/serial_error.h"
#include "sim_fixture.h"

namespace {

using sim::Fault;
using sim::FaultKind;
using sim::Outcome;

class Faults : public simtest::SimTest {
  protected:
    void SetUp() override { OpenPort(); }
    Fault Make(FaultKind kind, int count = 1, int after = 0) {
        Fault f;
        f.kind = kind;
        f.count = count;
        f.after = after;
        return f;
    }
};

TEST_F(Faults, EachFaultFailsTheTransactionItsOwnWay) {
    struct Case {
        FaultKind kind;
        int result;
    };
    const Case cases[] = {
        {FaultKind::kSilence, -2000}, {FaultKind::kCut, -2003}, {FaultKind::kLate, -2000},
        {FaultKind::kBadCrc, -1},     {FaultKind::kNoise, -1},  {FaultKind::kException, -2005},
    };
    for (const Case& c : cases) {
        inst->ClearFaults();
        inst->AddFault(Make(c.kind, 0));
        EXPECT_EQ(Read(0x1F00, 4), c.result) << sim::FaultName(c.kind);
        // Struck once, then the next attempt goes through.
        inst->ClearFaults();
        inst->AddFault(Make(c.kind, 1));
        inst->TakeLog();
        EXPECT_EQ(Read(0x1F00, 4), 0) << sim::FaultName(c.kind);
        EXPECT_EQ(Outcomes(), (std::vector<Outcome>{Outcome::kFaulted, Outcome::kAnswered}));
        EXPECT_EQ(inst->Log()[0].fault, c.kind);
    }
}

TEST_F(Faults, LostAnswersStillCarryOutTheRequestRefusalsDoNot) {
    inst->AddFault(Make(FaultKind::kSilence, 0));
    EXPECT_EQ(Write(8, 9), -2000);
    EXPECT_EQ(Ram(8), 9);
    inst->ClearFaults();
    inst->AddFault(Make(FaultKind::kException, 0));
    EXPECT_EQ(Write(8, 7), -2005);
    EXPECT_EQ(Ram(8), 9);
}

TEST_F(Faults, AfterAndCountChooseTheRequestsHit) {
    inst->AddFault(Make(FaultKind::kSilence, 2, 1));
    EXPECT_EQ(Read(0x1F00, 1), 0);
    EXPECT_EQ(Read(0x1F00, 1), 0);  // third attempt
    EXPECT_EQ(Read(0x1F00, 1), 0);
    EXPECT_EQ(Outcomes(),
              (std::vector<Outcome>{Outcome::kAnswered, Outcome::kFaulted, Outcome::kFaulted,
                                    Outcome::kAnswered, Outcome::kAnswered}));
}

TEST_F(Faults, LateAnswerArrivesWholeAfterTheDelay) {
    Fault late = Make(FaultKind::kLate);
    late.delay = 1.0;
    inst->AddFault(late);
    ASSERT_EQ(com.SetComTime(222, 2.0), 0);
    const double t0 = Now();
    simtest::Bytes answer = Exchange({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01}, 7);
    EXPECT_EQ(answer, Sealed({0x01, 0x03, 0x02, 0x68, 0x02}));
    const double c = 11.0 / 19200;
    EXPECT_NEAR(Now() - t0, 8 * c + 0.003 + 1.0 + 7 * c, 1e-9);
}

TEST_F(Faults, NoiseComesJustBeforeTheAnswer) {
    Fault noise = Make(FaultKind::kNoise);
    noise.bytes = 3;
    inst->AddFault(noise);
    simtest::Bytes expected = {0x00, 0xFF, 0x55};
    const simtest::Bytes answer = Sealed({0x01, 0x03, 0x02, 0x68, 0x02});
    expected.insert(expected.end(), answer.begin(), answer.end());
    EXPECT_EQ(Exchange({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01}), expected);
}

TEST_F(Faults, AVanishedPortFailsUntilItIsBack) {
    inst->AddFault(Make(FaultKind::kVanish));
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
    const simtest::Bytes req = Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01});
    sim->Receive(s, req, 10.0);
    std::uint8_t b = 0;
    double at = 0.0;
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(sim->NextByte(100.0, &b, &at));
        EXPECT_NEAR(at, 10.0 + 8 * c + 0.003 + (i + 1) * c, 1e-12);
    }
    EXPECT_FALSE(sim->NextByte(100.0, &b, &at));

    sim::InstrumentConfig fast = sim::DefaultConfig(sim::Model::kA);
    fast.turnaround = 0.0;
    fast.paced = false;
    Start(fast);
    sim->Receive(s, req, 10.0);
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(sim->NextByte(100.0, &b, &at));
        EXPECT_DOUBLE_EQ(at, 10.0 + 8 * c);
    }
}

}  // namespace
