// Model B: the 16-bit block, the 32-bit values one per address, codes 16 and 9, the second
// values at 0x100C, polarity and its calibration codes.

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

using simtest::Bytes;

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

TEST_F(ModelB, HalfAWideValueIsRefused) {
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

TEST_F(ModelB, ProcessValueAndConverterAreWide) {
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
}

TEST_F(ModelB, PolaritySelectsTheSecondSetOfCalibrationCodes) {
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
