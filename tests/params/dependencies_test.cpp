// What the input type, unit, decimal point, display digits and alarm amount do to the other
// parameters.

#include <gtest/gtest.h>

#include <string>

#include "monitor/remote_value.h"
#include "params/alarm.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params/rules.h"
#include "params_fixture.h"

namespace {

using paramstest::ParamsTest;

constexpr int kRed = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;
constexpr int kRingNormal = 0xECE9D8;
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

TEST_F(Dependencies, TheRemoteTypeForcesTheUnitAndEnablesTheRemoteValueNotTheLinearControls) {
    Setup(1, 0, 0, 1);
    WatchDelays("UNIT", true);
    Choose("TYPE_13");
    EXPECT_EQ(EnabledRows(), "000000");
    EXPECT_TRUE(Dimmed("SCA_L") && Dimmed("SCA_H") && Dimmed("CUT"));
    EXPECT_EQ(conf::UNIT_cfg::GI(ctx), 2);
    ASSERT_EQ(seen.size(), 1u);  // the decimal point 0 was in range
    EXPECT_EQ(seen[0].value, 0);
    EXPECT_EQ(seen[0].color, kRed);
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
}

TEST_F(Dependencies, EachLinearTypeEnablesItsTwoRowsScaleAndCutOnAnyKey) {
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

TEST_F(Dependencies, FromCurrentToThermocoupleWithThreeDecimalsKeepsTheRawValues) {
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
}

TEST_F(Dependencies, ShorterDisplayChangesCaptionsRangeAndRowDecimalsButNotThePoint) {
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
    // The process-value display shows a sample of the display width.
    conf::DIGIT_cfg::SI(ctx, 0);
    conf::fn_Affect_by_DIGIT_0(ctx);
    EXPECT_EQ(Ctrl(ctx.gvMain, "MSPV_V").text, "888");
    conf::DIGIT_cfg::SI(ctx, 1);
    conf::fn_Affect_by_DIGIT_0(ctx);
    EXPECT_EQ(Ctrl(ctx.gvMain, "MSPV_V").text, "8888");
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

TEST_F(Dependencies, ANewRangeOnlyMarksTheValuesOutsideIt) {
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
}

TEST_F(Dependencies, TheOffsetRangeFollowsTheTypeAndBoundsTheOffset) {
    Setup(1, 0, 0, 1);
    ctx.gvFW = 5;
    Choose("TYPE_1");
    EXPECT_EQ(Number("PVOF_RAT_L"), -71.0);
    EXPECT_EQ(Number("PVOF_RAT_H"), 71.0);
    Type("PVOF", 100);
    EXPECT_EQ(Number("PVOF"), 71.0);
}

}  // namespace
