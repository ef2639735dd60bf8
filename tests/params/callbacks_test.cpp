// The callbacks as the user meets them: every catalogue name is a control of the panel,
// the group installers, the Enter step, and what a commit does on each kind of control.

#include <gtest/gtest.h>

#include <initializer_list>

#include "models/model_a.h"
#include "params/measuring.h"
#include "params/rules.h"
#include "params_fixture.h"

namespace {

using paramstest::ParamsTest;

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

TEST_F(ParamsTest, EnterMovesOnAndRadioCommitsSelectExactlyThePressedButton) {
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "BR"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "A2HY"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "LOCK"));
    Setup(10, 2, 0, 1);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_10"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "DP"));
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

TEST_F(ParamsTest, ACommitSelectsItsMemberAndIsCheckedAgainstItsRange) {
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
}

}  // namespace
