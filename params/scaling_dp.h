#pragma once
// The decimal-point scaling: values are shown with the decimal point chosen in the DP
// ring and read back with the one they were rendered with (the Dpp field of gsRAM01), so a
// change of the decimal point moves the shown point and keeps every raw value.

#include "core/context.h"
#include "params/numeric.h"

namespace conf {
// DP_cfg::Mul_Div (params/input.h) gives 10^DP, DP the DP ring's index.

namespace Dpp {
// 10^Dpp.
float Mul_Div(Context& ctx);
}  // namespace Dpp
// raw / 10^DP.
float fn_int_to_float_by_Dp(Context& ctx, int raw);
// The raw value a shown value stands for, decoded with Dpp.
int fn_float_to_int_by_Dpp_2(Context& ctx, float value);
// Dpp := dp (values outside 0..3 are held at its ends).
void fn_Set_Dpp(Context& ctx, int dp);

// The scaling of the decimal-point modules (limits, offset, scale, alarms, remote value).
const Scaling& DpScaling();

}  // namespace conf
