// The callbacks as the user meets them: every catalogue name is a control of the panel,
// the group installers, the Enter step, and what a commit does on each kind of control.

#include <gtest/gtest.h>

#include "models/model_a.h"
#include "params/measuring.h"
#include "params/rules.h"
#include "params_fixture.h"

namespace {

using paramstest::ParamsTest;

constexpr int kRed = 0xFF0000;

TEST_F(ParamsTest, EveryCatalogueNameIsAControlOfItsPage) {
    const conf::ParamCatalogue& c = conf::ModelACatalogue();
    struct Table {
        int panel;
        conf::CtrlNames names;
    };
    const Table tables[] = {{ctx.gvCFG, c.ccID},
                            {ctx.gvCFG, c.ccBR},
                            {ctx.gvCFG, c.ccRTU},
                            {ctx.gvCFG, c.ccUNIT},
                            {ctx.gvCFG, c.ccDP},
                            {ctx.gvCFG, c.ccFILT},
                            {ctx.gvCFG, c.ccCUT},
                            {ctx.gvCFG, c.ccLOCK},
                            {ctx.gvCFG, c.ccPVOF},
                            {ctx.gvMain, c.ccDIGIT},
                            {ctx.gvMain, c.ccALARM_AMOUNT},
                            {ctx.gvMain, c.ccRSP},
                            {ctx.gvMain, c.ccAGENT_WRITE},
                            {ctx.gvMain, c.ccGICNT},
                            {ctx.gvMain, c.ccMSPV_V},
                            {ctx.gvCAL, c.ccSN_READ},
                            {ctx.gvCFG, c.caCC_TYPE},
                            {ctx.gvCFG, c.caCC_DRng},
                            {ctx.gvCFG, c.caCC_MRng_rat},
                            {ctx.gvCFG, c.caCC_MRng_usr},
                            {ctx.gvCFG, c.caCC_PVOF_rat},
                            {ctx.gvCFG, c.caCC_LinSig},
                            {ctx.gvCFG, c.caCC_LinScale},
                            {ctx.gvCFG, c.caCC_DIR},
                            {ctx.gvCFG, c.caCC_RTS_R},
                            {ctx.gvCFG, c.caCC_RTS_V},
                            {ctx.gvCFG, c.caCC_AxFU},
                            {ctx.gvCFG, c.caCC_AxMD},
                            {ctx.gvCFG, c.caCC_AxSP},
                            {ctx.gvCFG, c.caCC_AxHY},
                            {ctx.gvCAL, c.caCC_RTS_R_cal},
                            {ctx.gvCAL, c.caCC_RTS_V_cal},
                            {ctx.gvCAL, c.caCC_ADC_V_M},
                            {ctx.gvCAL, c.caCC_IC_B},
                            {ctx.gvCAL, c.caCC_ARelay},
                            {ctx.gvCAL, c.caCC_SN_V_I},
                            {ctx.gvCAL, c.caCC_ICSP}};
    for (const Table& t : tables)
        for (const char* name : t.names)
            EXPECT_GT(rt.FindCtrl(t.panel, name), 0) << name;
    for (const conf::CtrlPair& pair : c.caCC_ADC_V_I) {
        EXPECT_GT(rt.FindCtrl(ctx.gvCAL, pair.first), 0) << pair.first;
        EXPECT_GT(rt.FindCtrl(ctx.gvCAL, pair.second), 0) << pair.second;
    }
    EXPECT_EQ(c.aMRng.size(), c.caCC_TYPE.size());
    EXPECT_EQ(conf::ModelA().registers.size(),
              static_cast<size_t>(conf::ModelA().read.blockLength));
    EXPECT_EQ(c.caADDR_LinSig.size(), c.caCC_LinSig.size());
}

TEST_F(ParamsTest, TheGroupsGetTheirCallbacksAtStartUp) {
    for (const char* name : conf::ModelACatalogue().caCC_TYPE)
        EXPECT_TRUE(Cfg(name).callback) << name;
    for (const char* name : conf::ModelACatalogue().caCC_LinSig)
        EXPECT_TRUE(Cfg(name).callback) << name;
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
}

TEST_F(ParamsTest, EnterMovesOnFromParameterControls) {
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "BR"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "A2HY"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "LOCK"));
    Setup(10, 2, 0, 1);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_10"), ui::VAL_ENTER_VKEY);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvCFG), Id(ctx.gvCFG, "DP"));
}

TEST_F(ParamsTest, ACommittedLimitIsCheckedAgainstTheRatedRangeOfItsMember) {
    Setup(1, 0, 0, 1);
    conf::MRng_rat_cfg::Set_Range(ctx);
    conf::SetField(ctx.gsRAM01, conf::kSelMRngUsr, 0);
    Type("HILT", 2000);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelMRngUsr), 1);
    EXPECT_EQ(Number("HILT"), 1370.0);
    Type("LOLT", -100);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelMRngUsr), 0);
    EXPECT_EQ(Number("LOLT"), -50.0);
}

TEST_F(ParamsTest, AlarmAndScaleCommitsSelectTheirMember) {
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
}

TEST_F(ParamsTest, ALinearRowCommitLimitsItsRowAndKeepsItsTypesRowsEnabled) {
    Setup(11, 2, 0, 1);
    conf::fn_Affect_by_DIGIT(ctx);
    Type("V_H", 12.5);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 3);
    EXPECT_EQ(Number("V_H"), 10.0f);
    EXPECT_FALSE(Dimmed("V_L"));
    EXPECT_FALSE(Dimmed("V_H"));
    EXPECT_TRUE(Dimmed("MV_L"));
}

TEST_F(ParamsTest, RadioCommitsSelectExactlyThePressedButton) {
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "DIR_1")), 0);
    EXPECT_EQ(conf::DIR_cfg::GV(ctx), 1);
    EXPECT_EQ(Cfg("DIR_0").state, 0);
    // Pressing the button that is on leaves it on.
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "DIR_1")), 0);
    EXPECT_EQ(Cfg("DIR_1").state, 1);
    ASSERT_GE(rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "RTS_R_0")), 0);
    EXPECT_EQ(Cfg("RTS_R_0").state + Cfg("RTS_R_1").state + Cfg("RTS_R_2").state, 1);
    EXPECT_EQ(Cfg("RTS_R_0").state, 1);
}

TEST_F(ParamsTest, CalibrationPageCommitsSelectAndLimit) {
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

}  // namespace
