// The instrument's registers through the suite's client. Model A: identity, parameter block,
// exceptions, relays, alarms and calibration commands, the moving value. Model B: the
// 16-bit block, the 32-bit values one per address, codes 16 and 9, the second values at
// 0x100C, polarity and its calibration codes.

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

using simtest::Bytes;

class ModelA : public simtest::SimTest {
  protected:
    void SetUp() override { OpenPort(); }
};

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

// The factory block itself is checked through an outside master (mbpoll) in program_test.
// Refused requests get exceptions and change nothing.
TEST_F(ModelA, AnswersAreByteExactAndRefusalsChangeNothing) {
    EXPECT_EQ(Reg(0x001F), 1);  // RS-485 on
    EXPECT_EQ(Exchange({0x01, 0x03, 0x1F, 0x00, 0x00, 0x04}),
              Sealed({0x01, 0x03, 0x08, 0x68, 0x02, 0x00, 0x00, 0x4D, 0xCC, 0xFE, 0x01}));
    // The identity is read-only memory: code 4 reads it too.
    EXPECT_EQ(Exchange({0x01, 0x04, 0x1F, 0x00, 0x00, 0x02}),
              Sealed({0x01, 0x04, 0x04, 0x68, 0x02, 0x00, 0x00}));
    EXPECT_EQ(Exchange({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}),
              Sealed({0x01, 0x05, 0x00, 0x08, 0x00, 0x07}));  // a write is echoed
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

class ModelB : public simtest::SimTest {
  protected:
    void SetUp() override {
        Start(sim::DefaultConfig(sim::Model::kB));
        OpenPort();
    }
    int Read32(int address, int count, std::vector<std::int32_t>* out) {
        out->assign(static_cast<std::size_t>(count), 0);
        return conf::fn_Modbus_Device_RW_32(ctx, 3, address, count, *out);
    }
    std::int32_t Value32(int address) {
        std::vector<std::int32_t> v;
        EXPECT_EQ(Read32(address, 1, &v), 0);
        return v[0];
    }
};

// Its own identity, the wide settings moved out of the 16-bit block, the stored link at 0x100C.
TEST_F(ModelB, BlocksSitWhereModelBKeepsThem) {
    EXPECT_EQ(Reg(0x1F00), 0x6903);
    std::vector<std::int16_t> block;
    ASSERT_EQ(Read(0, 31, &block), 0);
    EXPECT_EQ(std::vector<std::int16_t>(block.begin(), block.begin() + 5),
              (std::vector<std::int16_t>{2, 0, 1, 0, 0}));  // milliamperes, one decimal
    EXPECT_EQ(Reg(0x0020), 1);
    EXPECT_EQ(Reg(0x0A08), 0);
    std::vector<std::int32_t> wide;
    ASSERT_EQ(Read32(0x1001, 9, &wide), 0);
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
}

TEST_F(ModelB, WideValuesAreWrittenWithCodes16And9AndStored) {
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
    EXPECT_EQ(inst->Calibrations().back().command, 15);
    EXPECT_EQ(inst->Calibrations().back().functionCode, 6);
}

}  // namespace
