// Model A's ranges: display, rated (with degrees Fahrenheit and tenths), offset by firmware
// version, linear-signal rows, and the ranges that follow them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "monitor/remote_value.h"
#include "params/alarm.h"
#include "params/linear.h"
#include "params/measuring.h"
#include "params_fixture.h"

namespace {

using paramstest::ParamsTest;
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

TEST_F(Ranges, TheRatedRangeIsShownScaledAndBoundsTheLimits) {
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
}

TEST_F(Ranges, TheOffsetRangeFollowsTheFirmwareVersion) {
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

TEST_F(ParamsTest, DisplayRangeFollowsTheDigits) {
    struct Case {
        int digit, low, high;
    };
    for (Case c : {Case{0, -199, 999}, Case{1, -1999, 9999}}) {
        conf::DIGIT_cfg::SI(ctx, c.digit);
        conf::DRng_cfg::Set_Range(ctx);
        EXPECT_EQ(Number("DRNG_L"), c.low);
        EXPECT_EQ(Number("DRNG_H"), c.high);
        conf::SetField(ctx.gsRAM01, conf::kSelAlarm, 1);
        EXPECT_EQ(Bounds(ctx, conf::AxSP_cfg::Query_Range), Range(c.low, c.high));
        EXPECT_EQ(Bounds(ctx, conf::AxHY_cfg::Query_Range), Range(0, c.high));
        EXPECT_EQ(Bounds(ctx, conf::LinScale_cfg::Query_Range), Range(c.low, c.high));
        EXPECT_EQ(Bounds(ctx, conf::RSP::Query_Range), Range(c.low, c.high));
    }
}

TEST_F(ParamsTest, LinearSignalRowsAreNarrowedToTheDisplay) {
    struct Case {
        int digit, row, low, high;
    };
    for (Case c :
         {Case{0, 4, 0, 240}, Case{0, 5, 0, 240}, Case{0, 0, -199, 600}, Case{0, 2, -100, 100},
          Case{1, 3, -1000, 1000}, Case{1, 5, 0, 2400}, Case{1, 1, -1999, 6000}}) {
        Setup(12, 2, 0, c.digit);
        conf::SetField(ctx.gsRAM01, conf::kSelLinSig, c.row);
        EXPECT_EQ(Bounds(ctx, conf::LinSig_cfg::Query_Range), Range(c.low, c.high))
            << c.digit << " " << c.row;
    }
}

TEST_F(ParamsTest, UnitAndDecimalPointRangesFollowTypeAndDigits) {
    struct Case {
        int type, digit, unitLow, unitHigh, dpHigh;
    };
    for (Case c : {Case{0, 1, 0, 1, 1}, Case{9, 0, 0, 1, 1}, Case{10, 0, 2, 2, 2},
                   Case{12, 1, 2, 2, 3}, Case{13, 1, 2, 2, 3}, Case{14, 0, 2, 2, 2}}) {
        Setup(c.type, 0, 0, c.digit);
        EXPECT_EQ(Bounds(ctx, conf::UNIT_cfg::Query_Range), Range(c.unitLow, c.unitHigh)) << c.type;
        EXPECT_EQ(Bounds(ctx, conf::DP_cfg::Query_Range), Range(0, c.dpHigh)) << c.type;
    }
}

TEST_F(ParamsTest, TheRatedRangeShowsTheDecimalPoint) {
    Setup(1, 0, 1, 1);
    conf::MRng_rat_cfg::Set_Precision(ctx);
    conf::MRng_rat_cfg::Set_Range(ctx);
    EXPECT_EQ(Number("MRNG_RAT_L"), -50.0f);
    EXPECT_EQ(Number("MRNG_RAT_H"), 999.9f);
    EXPECT_EQ(Cfg("MRNG_RAT_H").precision, 1);
}

}  // namespace
