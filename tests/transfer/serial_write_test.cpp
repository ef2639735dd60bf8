// The serial-number write against the simulated instrument: the fields preset from the date,
// the two writes on the wire, the read-back, the running number, a blocked and a failed write.

#include <gtest/gtest.h>

#include "params/locator.h"
#include "tests/support/fixtures.h"
#include "transfer/serial_write.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::TransferTest;

// 1305280001: high word 0x4DCC to RAM, low word 0xFE01 to EEPROM.
const Bytes kHighWrite{0x01, 0x05, 0x1F, 0x02, 0x4D, 0xCC, 0x5E, 0xDB};
const Bytes kLowWrite{0x01, 0x06, 0x1F, 0x03, 0xFE, 0x01, 0xFF, 0xBE};
const Bytes kSerialRead{0x01, 0x03, 0x1F, 0x02, 0x00, 0x02, 0x62, 0x1F};

class SerialWrite : public TransferTest {
  protected:
    // An instrument with another serial number, the calibration page in front.
    void SetUp() override {
        TransferTest::SetUp();
        StartWith(104, 2, 1201010005);
        ASSERT_EQ(rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1), 0);
        Requests();
    }
    int PressWrite() { return rt.UserPress(ctx.gvCAL, Id(ctx.gvCAL, "SN_B")); }
    void SetField(const char* name, int value) {
        ASSERT_EQ(rt.SetCtrlVal(ctx.gvCAL, Id(ctx.gvCAL, name), value), 0);
    }
    int Field(const char* name) { return static_cast<int>(Cal(name).number); }
    std::vector<int> Fields() {
        return {Field("SN_YY"), Field("SN_MM"), Field("SN_DD"), Field("SN_NO")};
    }
};

TEST_F(SerialWrite, FieldsStartAtTodayFromTheClock) {
    // Start-up on the virtual clock's date, 28 May 2013.
    EXPECT_EQ(conf::fn_Get_Date_YYYYMMDD_str(ctx), "20130528");
    EXPECT_EQ(Fields(), (std::vector<int>{13, 5, 28, 1}));
    fe.VirtualClock().SetLocalStart({2024, 2, 29, 23, 59, 59});
    SetField("SN_NO", 77);
    EXPECT_EQ(conf::SN_V_I::Today_init(ctx), 0);
    EXPECT_EQ(Fields(), (std::vector<int>{24, 2, 29, 1}));
    fe.AdvanceTime(1.0);
    EXPECT_EQ(conf::fn_Get_Date_YYYYMMDD_str(ctx), "20240301");
}

TEST_F(SerialWrite, WritesHighThenLowWordReadsBackAndAdvances) {
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, kHighWrite, kLowWrite, kSerialRead}));
    EXPECT_EQ(Cal("SN_READ").text, "13     05    28       0001");
    EXPECT_EQ(Field("SN_NO"), 2);
    EXPECT_EQ(Cal("SN_NO").textBgColor, conf::kColorNormal);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    // The EEPROM write stored both words.
    EXPECT_EQ(Stored(0x1F02), 0x4DCC);
    EXPECT_EQ(static_cast<std::uint16_t>(Stored(0x1F03)), 0xFE01);
    EXPECT_EQ(LogFrom("Modbus w SN.H"),
              "Modbus w SN.H = 19916\n"
              "\tP222\tMB.Tx\t#01.05 <1f02> [4dcc] {5edb}\tWrite RAM\n"
              "\tP222\tMB.Rx\t#01.05 <1f02> [4dcc] {5edb}\tWrite RAM\n\n"
              "Modbus w SN.L = 65025\n"
              "\tP222\tMB.Tx\t#01.06 <1f03> [fe01] {ffbe}\tWrite EEPROM\n"
              "\tP222\tMB.Rx\t#01.06 <1f03> [fe01] {ffbe}\tWrite EEPROM\n\n"
              "Modbus r SN\n"
              "\tP222\tMB.Tx\t#01.03 <1f02> (0002) {621f}\tRead\n"
              "\tP222\tMB.Rx\t#01.03 (04)   [4dcc][fe01]  {acc0}\tRead\n\n");
    // Running number 9999 is written and stays.
    SetField("SN_NO", 9999);
    // What the field shows during each limit pause (the line's byte waits are shorter).
    std::vector<std::pair<int, int>> during;
    fe.VirtualClock().SetDelayHook([&](double seconds) {
        if (seconds >= conf::kLimitPause)
            during.emplace_back(Field("SN_NO"), Cal("SN_NO").textBgColor);
    });
    EXPECT_EQ(PressWrite(), 0);
    fe.VirtualClock().SetDelayHook(nullptr);
    const std::vector<Bytes> sent = Requests();
    ASSERT_EQ(sent.size(), 4u);
    // 1305289999: 0x4DCD, 0x250F.
    EXPECT_EQ(sent[1], (Bytes{0x01, 0x05, 0x1F, 0x02, 0x4D, 0xCD, 0x9F, 0x1B}));
    EXPECT_EQ(sent[2], (Bytes{0x01, 0x06, 0x1F, 0x03, 0x25, 0x0F, 0x24, 0x8A}));
    EXPECT_EQ(Cal("SN_READ").text, "13     05    28       9999");
    EXPECT_EQ(during, (std::vector<std::pair<int, int>>{{10000, conf::kColorOutOfRange}}));
    EXPECT_EQ(Field("SN_NO"), 9999);
    EXPECT_EQ(Cal("SN_NO").textBgColor, conf::kColorNormal);
}

// An out-of-range field: marked red, nothing written after the device check, the status line
// left as the check left it, the running number unchanged. Enter on the button sends nothing.
TEST_F(SerialWrite, AFieldOutOfRangeBlocksTheWriteAndEnterMovesOn) {
    rt.UserKeyPress(ctx.gvCAL, Id(ctx.gvCAL, "SN_B"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(Focused(), "cal:SN_YY");
    EXPECT_TRUE(Requests().empty());
    const struct {
        const char* field;
        int value, today;
    } blocked[] = {{"SN_MM", 0, 5}, {"SN_DD", 32, 28}, {"SN_YY", 43, 13}};
    rt.SetCtrlVal(ctx.gvCAL, Id(ctx.gvCAL, "SN_READ"), "before");
    for (const auto& b : blocked) {
        SCOPED_TRACE(std::string(b.field) + " = " + std::to_string(b.value));
        SetField(b.field, b.value);
        EXPECT_LT(PressWrite(), 0);
        EXPECT_EQ(Requests(), std::vector<Bytes>{kDevInfoRequest});
        EXPECT_EQ(Status(), "Reading");
        for (const char* name : {"SN_YY", "SN_MM", "SN_DD", "SN_NO"})
            EXPECT_EQ(Cal(name).textBgColor,
                      std::string(name) == b.field ? conf::kColorOutOfRange : conf::kColorNormal)
                << name;
        EXPECT_EQ(Field(b.field), b.value);
        EXPECT_EQ(Field("SN_NO"), 1);
        EXPECT_EQ(Cal("SN_READ").text, "before");
        EXPECT_EQ(LogFrom("Modbus w SN.H"), "");  // no write line at all
        SetField(b.field, b.today);
    }
}

TEST_F(SerialWrite, AFailedLowWordLeavesTheNumberAndSaysWriteNg) {
    // The device check and the high word pass; every low-word attempt is refused.
    inst->AddFault(conf_test::MakeFault(sim::FaultKind::kException, 2, 0));
    rt.SetCtrlVal(ctx.gvCAL, Id(ctx.gvCAL, "SN_READ"), "before");
    EXPECT_LT(PressWrite(), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, kHighWrite, kLowWrite, kLowWrite, kLowWrite}));
    EXPECT_EQ(Status(), "Write NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Field("SN_NO"), 1);
    EXPECT_EQ(Cal("SN_READ").text, "before");
    // The instrument is left with the new high word over its old low word, in RAM only.
    EXPECT_EQ(Ram(0x1F02), 0x4DCC);
    EXPECT_EQ(static_cast<std::uint16_t>(Ram(0x1F03)), 1201010005u & 0xFFFF);
    EXPECT_EQ(Stored(0x1F02), static_cast<std::int16_t>(1201010005u >> 16));
    const std::string log = LogFrom("Modbus w SN.H");
    EXPECT_NE(log.find("Modbus w SN.H = 19916\n"), std::string::npos);
    EXPECT_NE(log.find("Modbus w SN.L = 65025\n"), std::string::npos);
}

}  // namespace
