// Model A's registers through the suite's client: identity, parameter block, exceptions,
// RAM and EEPROM, production data, calibration commands, relays, the moving value.

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

using simtest::Bytes;

class ModelA : public simtest::SimTest {
  protected:
    void SetUp() override { OpenPort(); }
};

// The factory block itself is checked through an outside master (mbpoll) in program_test.
TEST_F(ModelA, IdentityAnswersByteExact) {
    EXPECT_EQ(Reg(0x001F), 1);  // RS-485 on
    EXPECT_EQ(Exchange({0x01, 0x03, 0x1F, 0x00, 0x00, 0x04}),
              Sealed({0x01, 0x03, 0x08, 0x68, 0x02, 0x00, 0x00, 0x4D, 0xCC, 0xFE, 0x01}));
    // The identity is read-only memory: code 4 reads it too.
    EXPECT_EQ(Exchange({0x01, 0x04, 0x1F, 0x00, 0x00, 0x02}),
              Sealed({0x01, 0x04, 0x04, 0x68, 0x02, 0x00, 0x00}));
    EXPECT_EQ(Exchange({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}),
              Sealed({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}));  // a write is echoed
}

TEST_F(ModelA, FirmwareOneEndsTheBlockAtRegister28) {
    std::vector<std::int16_t> full, block;
    ASSERT_EQ(Read(0, 31, &full), 0);
    sim::InstrumentConfig c = sim::DefaultConfig(sim::Model::kA);
    c.firmware = 1;
    c.code = 106;
    Start(c);
    OpenPort();
    EXPECT_EQ(Read(0, 29, &block), 0);
    EXPECT_EQ(block, std::vector<std::int16_t>(full.begin(), full.begin() + 29));
    EXPECT_EQ(Exchange({0x01, 0x03, 0x00, 0x00, 0x00, 0x1F}), Sealed({0x01, 0x83, 0x02}));
    EXPECT_EQ(Reg(0x1F00), 0x6A01);
    EXPECT_EQ(Reg(0x1005), 1);  // its frame format, fixed at 8N2
}

TEST_F(ModelA, RefusedRequestsGetExceptionsAndChangeNothing) {
    struct Case {
        Bytes request;
        Bytes answer;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases)
        EXPECT_EQ(Exchange(c.request), Sealed(c.answer)) << sim::Hex(c.request);
    for (const sim::LogEntry& e : inst->Log())
        EXPECT_EQ(e.outcome, sim::Outcome::kException) << sim::Hex(e.request);
    ASSERT_EQ(Read(0, 31, &block), 0);
    EXPECT_EQ(block, before);
    EXPECT_EQ(Read(0x1F04, 2, &block), 0);
    EXPECT_EQ(block, (std::vector<std::int16_t>{1, 2}));
}

TEST_F(ModelA, CodeSixStoresWhatCodeFiveWrote) {
    ASSERT_EQ(Write(8, 7, 5), 0);
    EXPECT_EQ(Reg(8), 7);
    std::int32_t stored = 0;
    EXPECT_EQ(inst->StoredValue(8, &stored), 0);
    EXPECT_EQ(stored, 5);
    inst->PowerCycle(Now());
    EXPECT_EQ(Reg(8), 5);  // a RAM write is lost at power-off

    // A write-all: RAM writes, the last one to EEPROM, which stores them all.
    ASSERT_EQ(Write(8, 7, 5), 0);
    ASSERT_EQ(Write(17, 900, 5), 0);
    ASSERT_EQ(Write(30, 1, 6), 0);
    ASSERT_EQ(Write(21, -20, 5), 0);  // after the store: RAM only
    inst->PowerCycle(Now());
    EXPECT_EQ(Reg(8), 7);
    EXPECT_EQ(Reg(17), 900);
    EXPECT_EQ(Reg(30), 1);
    EXPECT_EQ(Reg(21), 100);
}

TEST_F(ModelA, ProductionDataTakesItsCodesAndIsStored) {
    // Serial number 1305280002: high word with code 5, low word with code 6.
    ASSERT_EQ(Write(0x1F02, 0x4DCC, 5), 0);
    ASSERT_EQ(Write(0x1F03, 0xFE02, 6), 0);
    ASSERT_EQ(Write(0x1F04, 0x4600, 5), 0);
    ASSERT_EQ(Write(0x1F05, 0x4701, 6), 0);
    inst->PowerCycle(Now());
    std::vector<std::int16_t> v;
    ASSERT_EQ(Read(0x1F00, 6, &v), 0);
    EXPECT_EQ(v, (std::vector<std::int16_t>{0x6802, 0, 0x4DCC, -510, 0, 1}));
}

TEST_F(ModelA, CalibrationCommandsAreKeptInOrder) {
    const int steps[][2] = {{1, 5}, {2, 6}, {27, 5}, {28, 5}, {0, 6}};
    for (const auto& s : steps)
        ASSERT_EQ(Write(0x0A02, s[0], s[1]), 0);
    ASSERT_EQ(inst->Calibrations().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(inst->Calibrations()[i].command, steps[i][0]);
        EXPECT_EQ(inst->Calibrations()[i].functionCode, steps[i][1]);
        EXPECT_GT(inst->Calibrations()[i].readings[0], 2000);
    }
    ASSERT_EQ(Write(0x0A02, 9, 6), 0);
    EXPECT_EQ(Reg(0x0A02), 9);  // the last command
    inst->PowerCycle(Now());
    EXPECT_EQ(Reg(0x0A02), 0);
}

TEST_F(ModelA, RelayTestsAndAlarmsDriveTheStatusBits) {
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

}  // namespace
