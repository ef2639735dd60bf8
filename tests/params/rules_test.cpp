// Decimal-point scaling, model A's ranges (display, rated, offset by firmware version, linear
// rows), and what the input type, unit, point, digits and alarm amount do to the other
// parameters.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "monitor/remote_value.h"
#include "params/alarm.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params/rules.h"
#include "params/scaling.h"
#include "params_fixture.h"

namespace {

using namespace paramstest;

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

TEST_F(Dependencies, TheRemoteTypeForcesTheUnitAndEnablesTheRemoteValueNotTheLinearControls) {
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

}  // namespace
