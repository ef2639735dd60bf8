// The writes of single settings against the simulated instrument. The Set button: display
// digits and alarm amount with their command codes on the wire, the rules they govern, a
// failure between the two writes. The serial-number write: the fields preset from the date,
// the two writes on the wire, the read-back, the running number, a blocked and a failed write.
// Model B's polarity and RS-485 switch, and the decimal point that follows its display digits.

#include <gtest/gtest.h>

#include "params/input.h"
#include "params/linear.h"
#include "params/locator.h"
#include "params/rules.h"
#include "tests/support/fixtures.h"
#include "transfer/serial_write.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::Read;
using transfertest::TransferTest;
using transfertest::Write;

const Bytes kDigit1{0x01, 0x05, 0x1F, 0x04, 0x46, 0x01, 0x78, 0x7F};
const Bytes kAlarms2{0x01, 0x06, 0x1F, 0x05, 0x47, 0x02, 0x2C, 0x2E};
const Bytes kDigit0{0x01, 0x05, 0x1F, 0x04, 0x46, 0x00, 0xB9, 0xBF};
const Bytes kAlarms1{0x01, 0x06, 0x1F, 0x05, 0x47, 0x01, 0x6C, 0x2F};

// 1305280001: high word 0x4DCC to RAM, low word 0xFE01 to EEPROM.
const Bytes kHighWrite{0x01, 0x05, 0x1F, 0x02, 0x4D, 0xCC, 0x5E, 0xDB};
const Bytes kLowWrite{0x01, 0x06, 0x1F, 0x03, 0xFE, 0x01, 0xFF, 0xBE};
const Bytes kSerialRead{0x01, 0x03, 0x1F, 0x02, 0x00, 0x02, 0x62, 0x1F};

class PageWrite : public TransferTest {
  protected:
    // An instrument with another serial number, the calibration page in front.
    void SetUp() override {
        TransferTest::SetUp();
        StartWith(104, 2, 1201010005);
        ASSERT_EQ(rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1), 0);
        Requests();
    }
    int PressSet() { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE")); }
    // The user's choice in the two rings, without their own callbacks.
    void Choose(int digit, int alarms) {
        rt.SetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, "DIGIT"), digit);
        rt.SetCtrlIndex(ctx.gvMain, Id(ctx.gvMain, "ALARM_AMOUNT"), alarms);
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

TEST_F(PageWrite, SetWritesDigitsToRamAndAlarmAmountToEepromAndAppliesTheirRules) {
    ASSERT_EQ(Main("MSPV_V").text, "8888");
    ASSERT_FALSE(Cfg("A1SP").dimmed);
    Choose(0, 1);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{kDevInfoRequest, kDigit0, kAlarms1}));
    // Three digits: the sample on the display and the decimal-point captions.
    EXPECT_EQ(Main("MSPV_V").text, "888");
    EXPECT_EQ(Cfg("DP").items[0].label, "000.");
    EXPECT_EQ(Cfg("DP").items[3].label, "----");
    // One alarm in use.
    EXPECT_FALSE(Cfg("A1SP").dimmed);
    EXPECT_TRUE(Cfg("A2SP").dimmed);

    Choose(1, 2);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{kDevInfoRequest, kDigit1, kAlarms2}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_EQ(LogFrom("Modbus w DIGIT"),
              "Modbus w DIGIT = 4601 \n"
              "\tP222\tMB.Tx\t#01.05 <1f04> [4601] {787f}\tWrite RAM\n"
              "\tP222\tMB.Rx\t#01.05 <1f04> [4601] {787f}\tWrite RAM\n\n"
              "Modbus w Alarm.Num = 4702 \n"
              "\tP222\tMB.Tx\t#01.06 <1f05> [4702] {2c2e}\tWrite EEPROM\n"
              "\tP222\tMB.Rx\t#01.06 <1f05> [4702] {2c2e}\tWrite EEPROM\n\n");
    EXPECT_FALSE(Cfg("A2SP").dimmed);

    Choose(1, 0);
    EXPECT_EQ(PressSet(), 0);
    EXPECT_EQ(Main("MSPV_V").text, "8888");
    EXPECT_TRUE(Cfg("A1SP").dimmed);
    Requests();
    // Enter only moves on.
    rt.UserKeyPress(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE"), ui::VAL_ENTER_VKEY);
    EXPECT_TRUE(Requests().empty());

    // A refused alarm write leaves the digits written and their rules applied.
    inst->AddFault(conf_test::MakeFault(sim::FaultKind::kException, 2, 0));
    Choose(0, 1);
    EXPECT_LT(PressSet(), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, kDigit0, kAlarms1, kAlarms1, kAlarms1}));
    EXPECT_EQ(Status(), "Write NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Main("MSPV_V").text, "888");
    EXPECT_EQ(Cfg("DP").items[0].label, "000.");
    // The alarm rule did not run: still no alarm in use.
    EXPECT_TRUE(Cfg("A1SP").dimmed);
}

// The fields start at today on the virtual clock's date, 28 May 2013.
TEST_F(PageWrite, SerialNumberGoesHighThenLowWordReadsBackAndAdvances) {
    EXPECT_EQ(conf::fn_Get_Date_YYYYMMDD_str(ctx), "20130528");
    EXPECT_EQ(Fields(), (std::vector<int>{13, 5, 28, 1}));
    EXPECT_EQ(PressWrite(), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, kHighWrite, kLowWrite, kSerialRead}));
    EXPECT_EQ(Cal("SN_READ").text, "13     05    28       0001");
    EXPECT_EQ(Field("SN_NO"), 2);
    EXPECT_EQ(Cal("SN_NO").textBgColor, conf::kColorNormal);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
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
    // 1305289999: 0x4DCD, 0x250F.
    EXPECT_EQ(Requests(), (std::vector<Bytes>{kDevInfoRequest,
                                              {0x01, 0x05, 0x1F, 0x02, 0x4D, 0xCD, 0x9F, 0x1B},
                                              {0x01, 0x06, 0x1F, 0x03, 0x25, 0x0F, 0x24, 0x8A},
                                              kSerialRead}));
    EXPECT_EQ(Cal("SN_READ").text, "13     05    28       9999");
    EXPECT_EQ(during, (std::vector<std::pair<int, int>>{{10000, conf::kColorOutOfRange}}));
    EXPECT_EQ(Field("SN_NO"), 9999);
    EXPECT_EQ(Cal("SN_NO").textBgColor, conf::kColorNormal);
    // A new day's start sets the fields again.
    fe.VirtualClock().SetLocalStart({2024, 2, 29, 23, 59, 59});
    EXPECT_EQ(conf::SN_V_I::Today_init(ctx), 0);
    EXPECT_EQ(Fields(), (std::vector<int>{24, 2, 29, 1}));
    fe.AdvanceTime(1.0);
    EXPECT_EQ(conf::fn_Get_Date_YYYYMMDD_str(ctx), "20240301");
}

// An out-of-range field: marked red, nothing written after the device check, the status line
// left as the check left it, the running number unchanged. Enter on the button sends nothing.
TEST_F(PageWrite, ASerialFieldOutOfRangeBlocksTheWriteAndEnterMovesOn) {
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

TEST_F(PageWrite, AFailedLowWordLeavesTheNumberAndSaysWriteNg) {
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
    // Both writes are logged, the low word's after the high word's.
    EXPECT_NE(LogFrom("Modbus w SN.H = 19916\n").find("Modbus w SN.L = 65025\n"),
              std::string::npos);
}

class OmbrelPage : public TransferTest {
  protected:
    OmbrelPage() : TransferTest(conf::ModelB()) {}
};

TEST_F(OmbrelPage, PolarityAndTheRsSwitchWriteTheirOwnRegisters) {
    StartWith(105, 3);
    Requests();
    rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    EXPECT_EQ(rt.UserSelectIndex(ctx.gvCAL, Id(ctx.gvCAL, "POLAR"), 1), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{Read(0x1F00, 4), Write(6, 0x0A08, 1), Read(0x0A08, 1)}));
    EXPECT_EQ(Cal("POLAR").index, 1);
    EXPECT_EQ(Status(), "Write OK");
    // The RS-485 switch is register 32.
    rt.UserToggle(ctx.gvMain, Id(ctx.gvMain, "RS485"));
    EXPECT_EQ(Requests(), (std::vector<Bytes>{Write(6, 0x0020, 0)}));
}

TEST_F(OmbrelPage, DecimalPointRangeAndCaptionsFollowTheDisplayDigits) {
    StartWith(105, 3);
    const struct {
        int digit, dpHigh, low, high;
        std::vector<std::string> captions;
    } digits[] = {
        {0, 4, -19999, 99999, {"00000.", "0000.0", "000.00", "00.000", "0.0000", "----"}},
        {1, 5, -199999, 999999, {"000000.", "00000.0", "0000.00", "000.000", "00.0000", "0.00000"}},
    };
    for (const auto& d : digits) {
        SCOPED_TRACE(d.digit);
        conf::DIGIT_cfg::SI(ctx, d.digit);
        conf::fn_Affect_by_DIGIT(ctx);
        int low = 0, high = 0;
        conf::DP_cfg::Query_Range(ctx, &low, &high);
        EXPECT_EQ(high, d.dpHigh);
        std::vector<std::string> captions;
        for (const ui::ListItem& item : Cfg("DP").items)
            captions.push_back(item.label);
        EXPECT_EQ(captions, d.captions);
        EXPECT_EQ(Cfg("DRNG_L").number, d.low);
        EXPECT_EQ(Cfg("DRNG_H").number, d.high);
    }
    // The rated range is the display range; the offset range 5 % of its span, rounded up.
    conf::fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    EXPECT_NEAR(Cfg("MRNG_RAT_L").number, -19999.9, 1e-3);
    EXPECT_NEAR(Cfg("PVOF_RAT_H").number, 6000.0, 1e-3);
    // Linear rows are hundredths whatever the digits.
    for (int digit : {0, 1}) {
        conf::DIGIT_cfg::SI(ctx, digit);
        conf::fn_Affect_by_DIGIT(ctx);
        conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 5);
        rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "MA_H"), 12.34);
        EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 1234) << digit;
        conf::LinSig_cfg::SV(ctx, 2000);
        EXPECT_NEAR(Cfg("MA_H").number, 20.0, 1e-6) << digit;
    }
    // Entries beyond the signal's reach are confined to 66.00.
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "MA_H"), 99.0);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 6600);
}
}  // namespace
