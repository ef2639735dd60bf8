// The callbacks and the control pattern as the user meets them: every catalogue name a control
// of the panel, the Enter step, commits on each kind of control, range marks, limits with their
// red pause, rings that reset to the lower bound, radio groups, members and their registers.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "calib/output_cal.h"
#include "models/model_a.h"
#include "params/alarm.h"
#include "params/comm.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params/outcal.h"
#include "params/rules.h"
#include "params/service.h"
#include "params_fixture.h"
#include "transfer/serial_read.h"
#include "transfer/serial_write.h"

namespace {

using namespace paramstest;

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

TEST_F(ParamsTest, RadioGroupsReportTheirCountWithNoButtonOnAndClampIndices) {
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
}

TEST_F(ParamsTest, MembersAreFoundByTheirControlAndNameTheirRegister) {
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

TEST_F(ParamsTest, ADecimalPointChangeMovesThePointAndKeepsTheRaw) {
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
}

TEST_F(ParamsTest, LinearSignalRowsShowTenthsOrHundredthsByTheDigits) {
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

}  // namespace
