#include "params/scaling_dp.h"

#include <algorithm>

#include "core/selector.h"
#include "models/model.h"
#include "params/input.h"
#include "params/scaling.h"

namespace conf {

namespace {

int DppOf(const Context& ctx) {
    return GetField(ctx.gsRAM01, ctx.model.dpp);
}

int DpDecimals(Context& ctx) {
    return std::max(DP_cfg::GI(ctx), 0);
}

}  // namespace

float DP_cfg::Mul_Div(Context& ctx) {
    return PowerOfTen(DP_cfg::GI(ctx));
}

float Dpp::Mul_Div(Context& ctx) {
    return PowerOfTen(DppOf(ctx));
}

float fn_int_to_float_by_Dp(Context& ctx, int raw) {
    return static_cast<float>(raw) / DP_cfg::Mul_Div(ctx);
}

int fn_float_to_int_by_Dpp_2(Context& ctx, float value) {
    return FloatToIntByDecimals(value, DppOf(ctx));
}

void fn_Set_Dpp(Context& ctx, int dp) {
    const int fieldMax = (1 << ctx.model.dpp.width) - 1;
    SetField(ctx.gsRAM01, ctx.model.dpp, std::clamp(dp, 0, fieldMax));
}

const Scaling& DpScaling() {
    static const Scaling scaling{fn_int_to_float_by_Dp, fn_float_to_int_by_Dpp_2, DpDecimals};
    return scaling;
}

}  // namespace conf
