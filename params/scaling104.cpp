#include "params/scaling104.h"

#include <algorithm>

#include "core/selector.h"
#include "params/input104.h"
#include "params/scaling.h"

namespace conf {

namespace {

int Dpp(const Context& ctx) {
    return GetField(ctx.gsRAM01, kSelDpp);
}

int DpDecimals(Context& ctx) {
    return std::max(mf_104_DP_cfg__GI(ctx), 0);
}

}  // namespace

float mf_104_DP_cfg__Mul_Div(Context& ctx) {
    return PowerOfTen(mf_104_DP_cfg__GI(ctx));
}

float mf_104_Dpp__Mul_Div(Context& ctx) {
    return PowerOfTen(Dpp(ctx));
}

float fn_int_to_float_by_Dp(Context& ctx, int raw) {
    return static_cast<float>(raw) / mf_104_DP_cfg__Mul_Div(ctx);
}

int fn_float_to_int_by_Dpp_2(Context& ctx, float value) {
    return FloatToIntByDecimals(value, Dpp(ctx));
}

void fn_Set_Dpp(Context& ctx, int dp) {
    const int fieldMax = (1 << kSelDpp.width) - 1;
    SetField(ctx.gsRAM01, kSelDpp, std::clamp(dp, 0, fieldMax));
}

const Scaling& DpScaling104() {
    static const Scaling scaling{fn_int_to_float_by_Dp, fn_float_to_int_by_Dpp_2, DpDecimals};
    return scaling;
}

}  // namespace conf
