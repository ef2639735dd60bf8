#pragma once
// The input parameters: input type (TYPE_cfg), unit (UNIT_cfg), decimal point
// (DP_cfg), filter (FILT_cfg), cut (CUT_cfg) and output direction (DIR_cfg).

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
// Input type: 14 radio buttons, types 0-9 temperature, 10-12 linear signals, 13 remote. GV
// gives 14 when no button is on.
RadioGroup TYPE_cfg_def(const Context& ctx);
struct TYPE_cfg : RadioOps<TYPE_cfg_def> {
    // 1 for a temperature type (below 10), else 0.
    static int is_Temp(Context& ctx);
    // 1 for a type above 9, else 0.
    static int is_not_Temp(Context& ctx);
    // Puts evTypeR on the 14 input-type buttons (params/callbacks_cfg.cpp).
    static int CALLBACK(Context& ctx);
};

// Unit ring: 0 °C, 1 °F for temperature types; 2 for the others. Limit resets to the lower
// bound.
RingModule UNIT_cfg_def(const Context& ctx);
struct UNIT_cfg : RingOps<UNIT_cfg_def> {};

// Decimal-point ring, index = decimals. Limit resets to the lower bound.
RingModule DP_cfg_def(const Context& ctx);
struct DP_cfg : RingOps<DP_cfg_def> {
    // Captions for the display-digit setting; other settings change nothing.
    static int Item_Swap(Context& ctx);
    // 10^DP, DP the ring's index (params/scaling_dp.cpp).
    static float Mul_Div(Context& ctx);
};

// Input filter, 0-999.
NumericModule FILT_cfg_def(const Context& ctx);
struct FILT_cfg : NumericOps<FILT_cfg_def> {
    static int Query_Rng(Context& ctx, int* min, int* max);
};

// Cut ring of the linear inputs; enabled only for the linear-signal types.
RingModule CUT_cfg_def(const Context& ctx);
struct CUT_cfg : RingOps<CUT_cfg_def> {
    using RingOps::Toggle_Dim;
    static int Toggle_Dim(Context& ctx);
};

// Output direction: two radio buttons.
RadioGroup DIR_cfg_def(const Context& ctx);
struct DIR_cfg : RadioOps<DIR_cfg_def> {};

// 1 when the type is one of the linear signals (mV, V, mA).
int fn_is_Linear_Type(Context& ctx);

}  // namespace conf
