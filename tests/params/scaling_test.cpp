// Decimal-point scaling: the single-precision conversions and the text round trip back.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "params/scaling.h"
#include "params_fixture.h"

namespace {

using conf::FloatToIntByDecimals;
using paramstest::ParamsTest;

TEST(Scaling, FloatToIntRoundsToTheShownStepBeforeTruncating) {
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
        EXPECT_EQ(FloatToIntByDecimals(c.shown, c.decimals), c.raw)
            << c.shown << " with " << c.decimals << " decimals";
}

TEST(Scaling, ShownValuesAndLinearEntries) {
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

}  // namespace
