// The parameter editor on Tarnel's main panel (headless, the program's callbacks and the two
// group installers, no serial line): every catalogue name a control of the panel, commits on
// each kind of control, range marks, limits with their red pause, rings that reset to the lower
// bound, radio groups, members and their registers; decimal-point scaling, model A's ranges, and
// what the input type, unit, point, digits and alarm amount do to the other parameters.

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calib/output_cal.h"
#include "core/selector.h"
#include "monitor/remote_value.h"
#include "nav/tab.h"
#include "params/alarm.h"
#include "params/callbacks_cfg.h"
#include "params/comm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/main_panel.h"
#include "params/measuring.h"
#include "params/outcal.h"
#include "params/rules.h"
#include "params/scaling.h"
#include "params/scaling_dp.h"
#include "shell/callbacks.h"
#include "tests/support/fixtures.h"

namespace {

constexpr int kRed = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;
constexpr int kRingNormal = 0xECE9D8;  // a ring's frame when it is not marked

class ParamsTest : public ::testing::Test, public conf_test::Configurator {
  protected:
    void SetUp() override {
        conf::RegisterCallbacks(ctx, registry);
        ctx.gvMain = rt.LoadPanel(0, SUITE_GUI_SOURCE_DIR "/G104.json", "G104");
        ASSERT_GT(ctx.gvMain, 0) << rt.LastError();
        conf::TAB::Get_Page_Handle(ctx);
        conf::TYPE_cfg::CALLBACK(ctx);
        conf::LinSig_cfg::CALLBACK(ctx);
        rt.DisplayPanel(ctx.gvMain);
        ctx.gvFW = 8;
    }

    const ui::Control& Ctrl(int panel, const char* name) {
        return *rt.GetControl(panel, Id(panel, name));
    }
    double Number(const char* name) { return Cfg(name).number; }
    int Bg(const char* name) { return Cfg(name).textBgColor; }
    bool Dimmed(const char* name) { return Cfg(name).dimmed; }
    int Dpp() { return conf::GetField(ctx.gsRAM01, ctx.model.dpp); }

    // The settings the ranges follow, set as read-all sets them (no rule runs). Type 14 is
    // the group with no button on.
    void Setup(int type, int unit, int dp, int digit) {
        if (type < 14) {
            conf::TYPE_cfg::SV(ctx, type);
        } else {
            for (int i = 0; i < 14; ++i)
                conf::TYPE_cfg::Radio__SV(ctx, i, 0);
        }
        conf::UNIT_cfg::SI(ctx, unit);
        conf::DP_cfg::SI(ctx, dp);
        conf::fn_Set_Dpp(ctx, dp);
        conf::DIGIT_cfg::SI(ctx, digit);
    }
    // The user types a value into a configuration-page numeric and commits it.
    void Type(const char* name, double value) {
        ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, name), value), 0) << name;
    }
    // What the user sees during each 0.1 s pause: `name`'s value and its colour.
    struct Seen {
        double value;
        int color;
        bool operator==(const Seen&) const = default;
    };
    void WatchDelays(const char* name, bool ring = false) {
        fe.VirtualClock().SetDelayHook([this, name, ring](double) {
            const ui::Control& c = Cfg(name);
            seen.push_back({ring ? c.index : c.number, ring ? c.frameColor : c.textBgColor});
        });
    }

    std::vector<Seen> seen;
};

TEST_F(ParamsTest, EveryCatalogueNameIsAControlOfItsPageAndTheGroupsHaveCallbacks) {
    const conf::ParamCatalogue& c = conf::ModelACatalogue();
    const auto expect = [&](int panel, std::initializer_list<conf::CtrlNames> tables) {
        for (conf::CtrlNames names : tables)
            for (const char* name : names)
                EXPECT_GT(rt.FindCtrl(panel, name), 0) << name;
    };
    expect(ctx.gvCFG,
           {c.ccID,          c.ccBR,          c.ccRTU,         c.ccUNIT,        c.ccDP,
            c.ccFILT,        c.ccCUT,         c.ccLOCK,        c.ccPVOF,        c.caCC_TYPE,
            c.caCC_DRng,     c.caCC_MRng_rat, c.caCC_MRng_usr, c.caCC_PVOF_rat, c.caCC_LinSig,
            c.caCC_LinScale, c.caCC_DIR,      c.caCC_RTS_R,    c.caCC_RTS_V,    c.caCC_AxFU,
            c.caCC_AxMD,     c.caCC_AxSP,     c.caCC_AxHY});
    expect(ctx.gvMain,
           {c.ccDIGIT, c.ccALARM_AMOUNT, c.ccRSP, c.ccAGENT_WRITE, c.ccGICNT, c.ccMSPV_V});
    expect(ctx.gvCAL, {c.ccSN_READ, c.caCC_RTS_R_cal, c.caCC_RTS_V_cal, c.caCC_ADC_V_M, c.caCC_IC_B,
                       c.caCC_ARelay, c.caCC_SN_V_I, c.caCC_ICSP});
    for (const conf::CtrlPair& pair : c.caCC_ADC_V_I) {
        EXPECT_GT(rt.FindCtrl(ctx.gvCAL, pair.first), 0) << pair.first;
        EXPECT_GT(rt.FindCtrl(ctx.gvCAL, pair.second), 0) << pair.second;
    }
    EXPECT_EQ(c.aMRng.size(), c.caCC_TYPE.size());
    // The groups get their callbacks at start-up.
    for (conf::CtrlNames names : {c.caCC_TYPE, c.caCC_LinSig})
        for (const char* name : names)
            EXPECT_TRUE(Cfg(name).callback) << name;
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
}

TEST_F(ParamsTest, CommitsSelectTheirMemberAndRadioButtonsExactlyThePressedOne) {
    Setup(1, 0, 0, 1);
    conf::MRng_rat_cfg::Set_Range(ctx);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 0);
    Type("HILT", 2000);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelMRngUsr), 1);
    EXPECT_EQ(Number("HILT"), 1370.0);
    Type("LOLT", -100);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelMRngUsr), 0);
    EXPECT_EQ(Number("LOLT"), -50.0);
    // Alarm and scale commits select their member.
    Setup(12, 2, 1, 1);
    Type("A2SP", 1200.0);  // 12000 raw
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelAlarm), 1);
    EXPECT_EQ(Number("A2SP"), 999.9f);
    Type("A1HY", -3.0);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelAlarm), 0);
    EXPECT_EQ(Number("A1HY"), 0.0);
    Type("SCA_H", -500.0);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinScale), 1);
    EXPECT_EQ(Number("SCA_H"), -199.9f);
    // A linear row commit limits its row and keeps its type's rows enabled.
    Setup(11, 2, 0, 1);
    conf::fn_Affect_by_DIGIT(ctx);
    Type("V_H", 12.5);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 3);
    EXPECT_EQ(Number("V_H"), 10.0f);
    EXPECT_FALSE(Dimmed("V_L"));
    EXPECT_FALSE(Dimmed("V_H"));
    EXPECT_TRUE(Dimmed("MV_L"));
    // Radio commits select exactly the pressed button, on either page.
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "DIR_1")), 0);
    EXPECT_EQ(conf::DIR_cfg::GV(ctx), 1);
    EXPECT_EQ(Cfg("DIR_0").state, 0);
    // Pressing the button that is on leaves it on.
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "DIR_1")), 0);
    EXPECT_EQ(Cfg("DIR_1").state, 1);
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "RTS_R_0")), 0);
    EXPECT_EQ(Cfg("RTS_R_0").state + Cfg("RTS_R_1").state + Cfg("RTS_R_2").state, 1);
    EXPECT_EQ(Cfg("RTS_R_0").state, 1);
    // Calibration page commits select and limit too.
    rt.SetActiveTabPage(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    ASSERT_GE(rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, "RELAY_2")), 0);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelAlarm), 1);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "RELAY_2").state, 1);
    ASSERT_GE(rt.UserSetValue(ctx.gvCAL, Id(ctx.gvCAL, "SN_MM"), 13), 0);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelSN), 1);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "SN_MM").number, 12);
    ASSERT_GE(rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, "RTS_R_CAL_0")), 0);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "RTS_R_CAL_0").state + Ctrl(ctx.gvCAL, "RTS_R_CAL_2").state, 1);
}

TEST_F(ParamsTest, ValuesOnABoundAreInRangeAndACommitOutsideIsRedForATenthThenTheBound) {
    // Stations 1..255; the last one, back in range after 256, is repainted.
    for (int id : {1, 255, 0, 256, 17}) {
        const bool inRange = id >= 1 && id <= 255;
        conf::ID_cfg::SV(ctx, id);
        EXPECT_EQ(conf::ID_cfg::OOR(ctx), inRange ? 0 : -1) << id;
        EXPECT_EQ(Bg("ID"), inRange ? kWhite : kRed) << id;
    }
    // Rings other than unit and point are normally white.
    EXPECT_EQ(conf::BR_cfg::OOR_EX(ctx, 4), -1);
    EXPECT_EQ(Cfg("BR").frameColor, kRed);
    EXPECT_EQ(conf::BR_cfg::OOR_EX(ctx, 3), 0);
    EXPECT_EQ(Cfg("BR").frameColor, kWhite);
    EXPECT_EQ(conf::RTU_cfg::OOR_EX(ctx, -1), -1);
    // In range a commit goes through at once; outside it the value shows red for a tenth, then
    // the nearer bound.
    Type("FILT", 999);
    Type("ID", 1);
    EXPECT_TRUE(fe.VirtualClock().Delays().empty());
    EXPECT_EQ(Number("FILT"), 999);
    EXPECT_EQ(Number("ID"), 1);
    WatchDelays("ID");
    Type("ID", 300);
    EXPECT_EQ(seen, (std::vector<Seen>{{300, kRed}}));
    EXPECT_EQ(fe.VirtualClock().Delays(), (std::vector<double>{0.1}));
    EXPECT_EQ(Number("ID"), 255);
    EXPECT_EQ(Bg("ID"), kWhite);
    Type("FILT", -5);
    EXPECT_EQ(Number("FILT"), 0);
    Type("ID", 0);
    EXPECT_EQ(Number("ID"), 1);
}

TEST_F(ParamsTest, UnitAndPointAboveTheirRangeGoToTheLowerBound) {
    Setup(1, 2, 0, 1);
    WatchDelays("UNIT", true);
    conf::UNIT_cfg::OOR(ctx);
    conf::UNIT_cfg::Limit(ctx);
    EXPECT_EQ(seen, (std::vector<Seen>{{2, kRed}}));
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 0);
    EXPECT_EQ(Cfg("UNIT").frameColor, kRingNormal);
    // The decimal point above its range goes to zero.
    Setup(1, 0, 3, 1);
    conf::DP_cfg::Limit(ctx);
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 0);
    // A non-temperature type below the single allowed unit also goes to it.
    Setup(11, 0, 0, 1);
    conf::UNIT_cfg::Limit(ctx);
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 2);
    // Choosing the dashed decimal point on the short display sets it back to zero.
    seen.clear();
    Setup(12, 2, 1, 0);
    WatchDelays("DP", true);
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "DP"), 3), 0);
    EXPECT_EQ(seen, (std::vector<Seen>{{3, kRed}}));
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 0);
    EXPECT_EQ(Cfg("DP").frameColor, kRingNormal);
    EXPECT_EQ(Dpp(), 0);
}

TEST_F(ParamsTest, RadioGroupsClampIndicesAndMembersAreFoundByTheirControlAndNameTheirRegister) {
    for (int i = 0; i < 14; ++i)
        conf::TYPE_cfg::Radio__SV(ctx, i, 0);
    EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 14);
    EXPECT_EQ(conf::TYPE_cfg::is_Temp(ctx), 0);
    EXPECT_EQ(conf::TYPE_cfg::is_not_Temp(ctx), 1);
    conf::DIR_cfg::Radio__SV(ctx, 0, 0);
    EXPECT_EQ(conf::DIR_cfg::GV(ctx), 2);
    // Out-of-range indices select the nearest end and only it.
    struct Case {
        int index, selected;
    };
    for (Case c : {Case{-3, 0}, Case{99, 13}, Case{14, 13}, Case{6, 6}}) {
        conf::TYPE_cfg::SV(ctx, c.index);
        int on = 0;
        for (int i = 0; i < 14; ++i)
            on += conf::TYPE_cfg::Radio__GV(ctx, i);
        EXPECT_EQ(on, 1) << c.index;
        EXPECT_EQ(conf::TYPE_cfg::GV(ctx), c.selected) << c.index;
    }
    // Arrow keys wrap around the input types.
    conf::TYPE_cfg::SV(ctx, 0);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_0"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_0"), ui::VAL_UP_ARROW_VKEY);
    EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 13);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "TYPE_13"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_13"), ui::VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 0);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "TYPE_0"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_0"), ui::VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 1);
    // Members are found by their control and name their register.
    conf::MRng_usr_cfg::Who_Am_I(ctx, ctx.gvCFG, Id(ctx.gvCFG, "HILT"));
    EXPECT_EQ(conf::MRng_usr_cfg::q_MB_Address(ctx), 4);
    // A control of another module, or of another panel, leaves the member as it was.
    conf::MRng_usr_cfg::Who_Am_I(ctx, ctx.gvCFG, Id(ctx.gvCFG, "ID"));
    conf::MRng_usr_cfg::Who_Am_I(ctx, ctx.gvMain, Id(ctx.gvCFG, "LOLT"));
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelMRngUsr), 1);
    EXPECT_EQ(conf::TYPE_cfg::who_am_I(ctx, ctx.gvCFG, Id(ctx.gvCFG, "ID")), 14);

    const char* rows[] = {"MV_L", "MV_H", "V_L", "V_H", "MA_L", "MA_H"};
    for (int row = 0; row < 6; ++row) {
        conf::LinSig_cfg::Who_Am_I(ctx, ctx.gvCFG, Id(ctx.gvCFG, rows[row]));
        EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), row);
        EXPECT_EQ(conf::LinSig_cfg::q_MB_Address(ctx), 23 + row);
    }
    conf::AxSP_cfg::Who_Am_I(ctx, ctx.gvCFG, Id(ctx.gvCFG, "A2SP"));
    EXPECT_EQ(conf::AxSP_cfg::q_MB_Address(ctx), 21);
    EXPECT_EQ(conf::AxHY_cfg::q_MB_Address(ctx), 22);  // the same alarm bit
    conf::RTS_V_cal::Who_Am_I(ctx, ctx.gvCAL, Id(ctx.gvCAL, "RTS_H_CAL"));
    EXPECT_EQ(conf::RTS_V_cfg::q_MB_Address(ctx), 12);  // one bit for both pages
    conf::ARelay::Who_Am_I(ctx, ctx.gvCAL, Id(ctx.gvCAL, "RELAY_1"));
    EXPECT_EQ(conf::ARelay::Query_Address(ctx), 0x0A04);
    // Beyond the six rows the 3-bit field designates no control and no register.
    conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 7);
    EXPECT_EQ(conf::LinSig_cfg::q_MB_Address(ctx), -1);
    EXPECT_LT(conf::LinSig_cfg::SV(ctx, 100), 0);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 0);
}

TEST_F(ParamsTest,
       APointOrDigitChangeMovesThePointAndKeepsTheRawAndLinearRowsShowTenthsOrHundredths) {
    Setup(1, 0, 0, 1);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 0);
    conf::MRng_usr_cfg::SV(ctx, 100);
    EXPECT_EQ(Number("LOLT"), 100.0);
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "DP"), 1), 0);
    EXPECT_EQ(Number("LOLT"), 10.0f);
    EXPECT_EQ(Cfg("LOLT").precision, 1);
    EXPECT_EQ(Dpp(), 1);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 0);
    EXPECT_EQ(conf::MRng_usr_cfg::GV(ctx), 100);
    // Between the rendering and the Dpp the old point decodes.
    Setup(12, 2, 1, 1);
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 0);
    conf::AxSP_cfg::SV(ctx, 1234);  // 123.4
    conf::DP_cfg::SI(ctx, 2);
    EXPECT_EQ(conf::AxSP_cfg::GV(ctx), 1234);
    conf::AxSP_cfg::Refresh(ctx);
    EXPECT_EQ(Number("A1SP"), 12.34f);
    conf::fn_Set_Dpp(ctx, 2);
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 0);  // Refresh left it at alarm 2
    EXPECT_EQ(conf::AxSP_cfg::GV(ctx), 1234);
    // Linear signal rows show tenths or hundredths by the digits.
    Setup(10, 2, 0, 0);
    conf::LinSig_cfg::Set_Precision(ctx);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);  // left at the last row
    conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 1);
    conf::LinSig_cfg::SV(ctx, 40);
    EXPECT_EQ(Number("MV_H"), 4.0f);
    EXPECT_EQ(Cfg("MV_H").precision, 1);
    // Across a digit change a row keeps its shown number.
    conf::DIGIT_cfg::SI(ctx, 1);
    conf::fn_Affect_by_DIGIT(ctx);
    EXPECT_EQ(Number("MV_H"), 4.0f);
    EXPECT_EQ(Cfg("MV_H").precision, 2);
    EXPECT_EQ(Cfg("MA_L").precision, 2);
    conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 1);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 400);
    conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 0);
    conf::LinSig_cfg::SV(ctx, -1234);
    EXPECT_EQ(Number("MV_L"), -12.34f);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), -1234);
    // A linear entry of 70 is confined, then limited to the row.
    Setup(10, 2, 0, 1);
    conf::fn_Affect_by_TYPE(ctx);
    conf::LinSig_cfg::Set_Precision(ctx);
    Type("MV_H", 70.0);
    EXPECT_EQ(Number("MV_H"), 60.0f);
    conf::SetField(ctx.gsRAM01, conf::kSelLinSig, 1);
    EXPECT_EQ(conf::LinSig_cfg::GV(ctx), 6000);
    EXPECT_EQ(Bg("MV_H"), kWhite);
}

TEST_F(ParamsTest, OutputCalibrationValuesAndIndicators) {
    struct Case {
        int step;
        bool lowDimmed, highDimmed;
    };
    for (Case c : {Case{0, false, true}, Case{1, true, false}, Case{2, true, true}}) {
        conf::RTS_R_cfg::SV(ctx, c.step);
        conf::RTS_V_cfg::Toggle_Dim(ctx);
        EXPECT_EQ(Dimmed("RTS_L"), c.lowDimmed) << c.step;
        EXPECT_EQ(Dimmed("RTS_H"), c.highDimmed) << c.step;
        if (c.step < 2) {
            EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelRTS), c.step);
        }
    }
    rt.SetActiveTabPage(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    ASSERT_GE(rt.UserSetValue(ctx.gvCAL, Id(ctx.gvCAL, "RTS_H_CAL"), 40000), 0);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "RTS_H_CAL").number, 32767);
    // Indicator pairs show their values.
    const short readings[2] = {1234, -5};
    conf::ADC_V_M::SV_all(ctx, readings);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "ADC_M_0").number, 1234);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "ADC_M_1").number, -5);
    conf::ADC_V_M::SA_i32_all(ctx, ui::ATTR_TEXT_COLOR, 0x0000FF);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "ADC_M_0").textColor, 0x0000FF);
    EXPECT_EQ(Ctrl(ctx.gvCAL, "ADC_M_1").textColor, 0x0000FF);
}

TEST(Scaling, FloatToIntRoundsToTheShownStepAndShownValuesAndLinearEntriesBack) {
    // Beyond int the result holds at its ends instead of overflowing.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float shown;
        int decimals, raw;
    } cases[] = {{12.6f, 0, 13}, {-12.6f, 0, -13},    {9.9994f, 3, 9999},   {9.999f, 3, 9999},
                 {1.26f, 1, 13}, {1.15f, 2, 115},     {-19.99f, 2, -1999},  {12.34f, 2, 1234},
                 {0.0f, 3, 0},   {1e30f, 0, INT_MAX}, {-1e30f, 2, INT_MIN}, {inf, 1, INT_MAX},
                 {nan, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(conf::FloatToIntByDecimals(c.shown, c.decimals), c.raw)
            << c.shown << " with " << c.decimals << " decimals";
    EXPECT_EQ(conf::IntToFloatByDecimals(1234, 2), 12.34f);
    EXPECT_EQ(conf::IntToFloatByDecimals(-1999, 0), -1999.0f);
    EXPECT_EQ(conf::IntToFloatByDecimals(9999, 3), 9.999f);
    // Linear signal entries lose their point within the confinement.
    EXPECT_EQ(conf::DigitsOfShown(-12.34f, 66.0, 2), -1234);
    EXPECT_EQ(conf::DigitsOfShown(4.0f, 66.0, 2), 400);
    EXPECT_EQ(conf::DigitsOfShown(4.0f, 66.0, 1), 40);
    EXPECT_EQ(conf::DigitsOfShown(70.0f, 66.0, 2), 6600);
    EXPECT_EQ(conf::DigitsOfShown(-70.0f, 66.0, 1), -660);
    EXPECT_EQ(conf::DigitsOfShown(std::numeric_limits<float>::quiet_NaN(), 66.0, 2), 0);
}

TEST_F(ParamsTest, ShowingUsesTheRingsPointAndReadingBackTheRenderedOne) {
    conf::DP_cfg::SI(ctx, 2);
    conf::fn_Set_Dpp(ctx, 1);
    EXPECT_EQ(conf::DP_cfg::Mul_Div(ctx), 100.0f);
    EXPECT_EQ(conf::Dpp::Mul_Div(ctx), 10.0f);
    EXPECT_EQ(conf::fn_int_to_float_by_Dp(ctx, 1234), 12.34f);
    EXPECT_EQ(conf::fn_float_to_int_by_Dpp_2(ctx, 1.26f), 13);
    // Other bits of the selector word survive a change of the Dpp.
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 1);
    conf::fn_Set_Dpp(ctx, 3);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelAlarm), 1);
    EXPECT_EQ(Dpp(), 3);
    // Decimal-point captions follow the display digits.
    conf::DP_cfg::SI(ctx, 2);
    auto captions = [&] {
        std::string all;
        for (const auto& item : Cfg("DP").items)
            all += item.label + "|" + std::to_string(item.value) + " ";
        return all;
    };
    conf::DIGIT_cfg::SI(ctx, 0);
    conf::DP_cfg::Item_Swap(ctx);
    EXPECT_EQ(captions(), "000.|0 00.0|1 0.00|2 ----|3 ");
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 2);
    conf::DIGIT_cfg::SI(ctx, 1);
    conf::DP_cfg::Item_Swap(ctx);
    EXPECT_EQ(captions(), "0000.|0 000.0|1 00.00|2 0.000|3 ");
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 2);
}

using Query = int (*)(conf::Context&, int*, int*);
using Range = std::pair<int, int>;

// The bounds `query` gives for the member the selector names.
Range Bounds(conf::Context& ctx, Query query) {
    int min = -1, max = -1;
    query(ctx, &min, &max);
    return {min, max};
}

struct Settings {
    int type, unit, dp, digit, fw;
    int low, high;  // expected raw range
};

class Ranges : public ParamsTest {
  protected:
    // For each case: the range as its two indicators show it (read back as the limits' check
    // reads it) and the bounds of the parameter it limits.
    void ExpectRanges(std::initializer_list<Settings> cases, int (*set)(conf::Context&),
                      const conf::SelectorField& field, int (*gv)(conf::Context&), Query query) {
        for (const Settings& s : cases) {
            SCOPED_TRACE(::testing::Message() << "type " << s.type << " unit " << s.unit << " dp "
                                              << s.dp << " digit " << s.digit << " fw " << s.fw);
            Setup(s.type, s.unit, s.dp, s.digit);
            ctx.gvFW = s.fw;
            set(ctx);
            conf::SetField(ctx.gsRAM01, field, 0);
            EXPECT_EQ(gv(ctx), s.low);
            conf::SetField(ctx.gsRAM01, field, 1);
            EXPECT_EQ(gv(ctx), s.high);
            EXPECT_EQ(Bounds(ctx, query), Range(s.low, s.high));
        }
    }
};

TEST_F(Ranges, TheRatedAndOffsetRangesAreShownScaledAndBoundTheirParameters) {
    ExpectRanges({{1, 1, 0, 1, 8, -58, 2498},     // degrees Fahrenheit
                  {1, 0, 1, 1, 8, -500, 9999},    // tenths, cut by the display
                  {9, 0, 0, 0, 8, -199, 600},     // cut by the short display
                  {2, 1, 0, 1, 8, -454, 752},     // -270 degC is -454 degF
                  {4, 0, 0, 0, 8, 0, 999},        //
                  {12, 2, 2, 1, 8, -1999, 9999},  // a signal is not converted
                  {12, 1, 0, 0, 8, -199, 999},    // nor in degrees Fahrenheit
                  {13, 2, 3, 1, 8, -1999, 9999},  //
                  {14, 0, 0, 1, 8, 0, 0}},        // no type: nothing to measure
                 conf::MRng_rat_cfg::Set_Range, conf::kSelMRngRat, conf::MRng_rat_cfg::GV,
                 conf::MRng_usr_cfg::Query_Range);
    ExpectRanges({{1, 0, 0, 1, 5, -71, 71},      // 5 % of 1420
                  {1, 0, 0, 1, 6, -1999, 9999},  // later firmware: the display
                  {1, 0, 0, 0, 6, -199, 999},    //
                  {1, 0, 1, 1, 5, -710, 710},    // in tenths
                  {1, 1, 0, 1, 5, -127, 127},    // 5 % of 2556 degF
                  {12, 2, 0, 0, 5, -59, 59},     // 5 % of the short display
                  {12, 2, 0, 1, 5, -599, 599},   // 5 % of 11998
                  {0, 0, 0, 1, 1, -52, 52},      // oldest firmware: 5 % of 1050
                  {14, 0, 0, 1, 5, 0, 0}},
                 conf::PVOF_rat_cfg::Set_Range, conf::kSelPVOFRat, conf::PVOF_rat_cfg::GV,
                 conf::PVOF_usr_cfg::Query_Range);
}

TEST_F(ParamsTest, DisplayUnitPointAndLinearRowRangesFollowTypeAndDigits) {
    for (auto [digit, low, high] : {std::tuple{0, -199, 999}, std::tuple{1, -1999, 9999}}) {
        conf::DIGIT_cfg::SI(ctx, digit);
        conf::DRng_cfg::Set_Range(ctx);
        EXPECT_EQ(Number("DRNG_L"), low);
        EXPECT_EQ(Number("DRNG_H"), high);
        conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 1);
        EXPECT_EQ(Bounds(ctx, conf::AxSP_cfg::Query_Range), Range(low, high));
        EXPECT_EQ(Bounds(ctx, conf::AxHY_cfg::Query_Range), Range(0, high));
        EXPECT_EQ(Bounds(ctx, conf::LinScale_cfg::Query_Range), Range(low, high));
        EXPECT_EQ(Bounds(ctx, conf::RSP::Query_Range), Range(low, high));
    }
    // Linear signal rows are narrowed to the display.
    for (auto [digit, row, low, high] :
         {std::tuple{0, 4, 0, 240}, std::tuple{0, 5, 0, 240}, std::tuple{0, 0, -199, 600},
          std::tuple{0, 2, -100, 100}, std::tuple{1, 3, -1000, 1000}, std::tuple{1, 5, 0, 2400},
          std::tuple{1, 1, -1999, 6000}}) {
        Setup(12, 2, 0, digit);
        conf::SetField(ctx.gsRAM01, conf::kSelLinSig, row);
        EXPECT_EQ(Bounds(ctx, conf::LinSig_cfg::Query_Range), Range(low, high))
            << digit << " " << row;
    }
    // Unit and decimal-point ranges follow the type and the digits.
    for (auto [type, digit, unitLow, unitHigh, dpHigh] :
         {std::tuple{0, 1, 0, 1, 1}, std::tuple{9, 0, 0, 1, 1}, std::tuple{10, 0, 2, 2, 2},
          std::tuple{12, 1, 2, 2, 3}, std::tuple{13, 1, 2, 2, 3}, std::tuple{14, 0, 2, 2, 2}}) {
        Setup(type, 0, 0, digit);
        EXPECT_EQ(Bounds(ctx, conf::UNIT_cfg::Query_Range), Range(unitLow, unitHigh)) << type;
        EXPECT_EQ(Bounds(ctx, conf::DP_cfg::Query_Range), Range(0, dpHigh)) << type;
    }
    // The rated range shows the decimal point.
    Setup(1, 0, 1, 1);
    conf::MRng_rat_cfg::Set_Precision(ctx);
    conf::MRng_rat_cfg::Set_Range(ctx);
    EXPECT_EQ(Number("MRNG_RAT_L"), -50.0f);
    EXPECT_EQ(Number("MRNG_RAT_H"), 999.9f);
    EXPECT_EQ(Cfg("MRNG_RAT_H").precision, 1);
}

const char* const kRows[] = {"MV_L", "MV_H", "V_L", "V_H", "MA_L", "MA_H"};

class Dependencies : public ParamsTest {
  protected:
    void Choose(const char* typeButton) {
        ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, typeButton)), 0) << typeButton;
    }
    // "1" for each enabled linear-signal row, "0" for each dimmed one.
    std::string EnabledRows() {
        std::string rows;
        for (const char* row : kRows)
            rows += Dimmed(row) ? '0' : '1';
        return rows;
    }
    bool LinearExtrasEnabled() { return !Dimmed("SCA_L") && !Dimmed("SCA_H") && !Dimmed("CUT"); }
};

TEST_F(Dependencies, TheRemoteTypeForcesTheUnitAndEachLinearTypeEnablesItsTwoRowsScaleAndCut) {
    Setup(1, 0, 0, 1);
    WatchDelays("UNIT", true);
    Choose("TYPE_13");
    EXPECT_EQ(EnabledRows(), "000000");
    EXPECT_TRUE(Dimmed("SCA_L") && Dimmed("SCA_H") && Dimmed("CUT"));
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 2);
    EXPECT_EQ(seen, (std::vector<Seen>{{0, kRed}}));  // the decimal point 0 was in range
    EXPECT_EQ(Cfg("UNIT").frameColor, kRingNormal);
    // The remote value's enabling follows read-all and write-all, not a type commit.
    EXPECT_FALSE(Ctrl(ctx.gvMain, "RSP").dimmed);
    // The remote value is enabled by its own rule only for the remote type.
    for (int type : {13, 12}) {
        Setup(type, 2, 1, 1);
        conf::RSP::Toggle_Dim(ctx);
        EXPECT_EQ(Ctrl(ctx.gvMain, "RSP").dimmed, type != 13) << type;
    }
    EXPECT_EQ(ctx.gr, 0);
    conf::RSP::SV(ctx, 1234);
    conf::fn_Affect_by_DP(ctx);
    EXPECT_EQ(Ctrl(ctx.gvMain, "RSP").number, 123.4f);
    EXPECT_EQ(Ctrl(ctx.gvMain, "RSP").precision, 1);
    // Each linear type enables its two rows, the scale and the cut.
    struct Case {
        const char* button;
        const char* rows;
    };
    for (Case c :
         {Case{"TYPE_10", "110000"}, Case{"TYPE_11", "001100"}, Case{"TYPE_12", "000011"}}) {
        Setup(1, 1, 1, 1);
        Choose(c.button);
        EXPECT_EQ(EnabledRows(), c.rows) << c.button;
        EXPECT_TRUE(LinearExtrasEnabled()) << c.button;
        EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 2) << c.button;
        EXPECT_EQ(conf::DP_cfg::GI(ctx), 1) << c.button;  // within 0..3
    }
    Choose("TYPE_4");
    EXPECT_EQ(EnabledRows(), "000000");
    EXPECT_FALSE(LinearExtrasEnabled());
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 0);  // back to the first temperature unit
    // Every key on a type button applies the type.
    Setup(9, 0, 0, 1);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_9"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_9"), ui::VAL_DOWN_ARROW_VKEY);
    EXPECT_EQ(conf::TYPE_cfg::GV(ctx), 10);
    EXPECT_EQ(EnabledRows(), "110000");
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 2);
    // A key that steps nothing still applies the selected type.
    conf::TYPE_cfg::SV(ctx, 12);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_10"), 'x');
    EXPECT_EQ(EnabledRows(), "000011");
}

TEST_F(Dependencies, OnlyTheAlarmsInUseAreEnabled) {
    const char* const controls[] = {"A1FU", "A1MD", "A1SP", "A1HY", "A2FU", "A2MD", "A2SP", "A2HY"};
    for (int amount = 0; amount <= 2; ++amount) {
        conf::Alarm_Amount_cfg::SI(ctx, amount);
        conf::fn_Affect_by_Alarm_Amount(ctx);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(Dimmed(controls[i]), i / 4 >= amount) << amount << " " << controls[i];
    }
}

TEST_F(Dependencies, FromCurrentToThermocoupleAndToAShorterDisplayTheRawValuesAndThePointStay) {
    Setup(12, 2, 3, 1);
    conf::fn_Affect_by_DP(ctx);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 1);
    conf::MRng_usr_cfg::SV(ctx, 1234);
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 1);
    conf::AxHY_cfg::SV(ctx, 5);
    EXPECT_EQ(Number("HILT"), 1.234f);

    Choose("TYPE_1");
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 0);
    EXPECT_EQ(Dpp(), 0);
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 0);
    EXPECT_EQ(fe.VirtualClock().Delays(), (std::vector<double>{0.1, 0.1}));  // unit, point
    EXPECT_EQ(Number("HILT"), 1234.0);
    EXPECT_EQ(Cfg("HILT").precision, 0);
    EXPECT_EQ(Number("A2HY"), 5.0);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 1);
    EXPECT_EQ(conf::MRng_usr_cfg::GV(ctx), 1234);
    // Rated range of the new type; 1234 lies in it, so the limit is not marked.
    EXPECT_EQ(Number("MRNG_RAT_H"), 1370.0);
    EXPECT_EQ(Bg("HILT"), kWhite);
    // A shorter display changes captions, range and row decimals, not the point.
    Setup(12, 2, 3, 1);
    conf::DIGIT_cfg::SI(ctx, 0);
    conf::fn_Affect_by_DIGIT(ctx);
    EXPECT_EQ(Cfg("DP").items[3].label, "----");
    EXPECT_EQ(Number("DRNG_L"), -199.0);
    EXPECT_EQ(Number("DRNG_H"), 999.0);
    EXPECT_EQ(Cfg("MA_H").precision, 1);
    conf::fn_Affect_by_TYPE_DIGIT(ctx);
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 3);
    EXPECT_EQ(Cfg("DP").frameColor, kRed);
    // A point chosen back in range loses the mark, without a pause.
    fe.VirtualClock().ClearDelays();
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "DP"), 1), 0);
    EXPECT_EQ(conf::DP_cfg::GI(ctx), 1);
    EXPECT_EQ(Cfg("DP").frameColor, kRingNormal);
    EXPECT_TRUE(fe.VirtualClock().Delays().empty());
}

TEST_F(Dependencies, ANewRangeOnlyMarksTheValuesOutsideItAndTheOffsetRangeFollowsTheType) {
    Setup(1, 0, 0, 1);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 1);
    conf::MRng_usr_cfg::SV(ctx, 2400);
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "UNIT"), 1), 0);
    EXPECT_EQ(Number("MRNG_RAT_L"), -58.0);
    EXPECT_EQ(Number("MRNG_RAT_H"), 2498.0);
    EXPECT_EQ(Bg("HILT"), kWhite);
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "UNIT"), 0), 0);
    EXPECT_EQ(Number("MRNG_RAT_H"), 1370.0);
    EXPECT_EQ(Bg("HILT"), kRed);
    EXPECT_EQ(Number("HILT"), 2400.0);  // marked, not clamped
    EXPECT_TRUE(fe.VirtualClock().Delays().empty());
    // Set points outside a new range are marked, not clamped.
    Setup(12, 2, 0, 0);
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 0);
    conf::AxSP_cfg::SV(ctx, 500);
    conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 1);
    conf::AxSP_cfg::SV(ctx, 5000);
    conf::fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    EXPECT_EQ(Bg("A1SP"), kWhite);
    EXPECT_EQ(Bg("A2SP"), kRed);
    EXPECT_EQ(Number("A2SP"), 5000.0);
    // The offset range follows the type and bounds the offset.
    Setup(1, 0, 0, 1);
    ctx.gvFW = 5;
    Choose("TYPE_1");
    EXPECT_EQ(Number("PVOF_RAT_L"), -71.0);
    EXPECT_EQ(Number("PVOF_RAT_H"), 71.0);
    Type("PVOF", 100);
    EXPECT_EQ(Number("PVOF"), 71.0);
}

}  // namespace
