#pragma once
// Model A's input parameters: input type (TYPE_cfg), unit (UNIT_cfg), decimal point
// (DP_cfg), filter (FILT_cfg), cut (CUT_cfg) and output direction (DIR_cfg).

#include "core/context.h"
#include "params/locator.h"

namespace conf {

// Input type: 14 radio buttons, types 0-9 temperature, 10-12 linear signals, 13 remote.
int mf_104_TYPE_cfg__who_am_I(Context& ctx, int panel, int control);
int mf_104_TYPE_cfg__init(Context& ctx, int index, Locator* loc);
int mf_104_TYPE_cfg__Radio__SV(Context& ctx, int index, int on);
int mf_104_TYPE_cfg__Radio__GV(Context& ctx, int index);
int mf_104_TYPE_cfg__SV(Context& ctx, int index);
// The selected type; 14 when no button is on.
int mf_104_TYPE_cfg__GV(Context& ctx);
int mf_104_TYPE_cfg__SetActive(Context& ctx);
int mf_104_TYPE_cfg__HotKey(Context& ctx, int index, int step);
// 1 for a temperature type (below 10), else 0.
int mf_104_TYPE_cfg__is_Temp(Context& ctx);
// 1 for a type above 9, else 0.
int mf_104_TYPE_cfg__is_not_Temp(Context& ctx);

// Unit ring: 0 °C, 1 °F for temperature types; 2 for the others. Limit resets to the lower
// bound.
int mf_104_UNIT_cfg__init(Context& ctx, Locator* loc);
int mf_104_UNIT_cfg__SI(Context& ctx, int index);
int mf_104_UNIT_cfg__GI(Context& ctx);
int mf_104_UNIT_cfg__Hi_Light(Context& ctx, int on);
int mf_104_UNIT_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_UNIT_cfg__OOR_EX(Context& ctx, int value);
int mf_104_UNIT_cfg__OOR(Context& ctx);
int mf_104_UNIT_cfg__Limit(Context& ctx);

// Decimal-point ring, index = decimals. Limit resets to the lower bound.
int mf_104_DP_cfg__init(Context& ctx, Locator* loc);
// Captions for the display-digit setting; other settings change nothing.
int mf_104_DP_cfg__Item_Swap(Context& ctx);
int mf_104_DP_cfg__SI(Context& ctx, int index);
int mf_104_DP_cfg__GI(Context& ctx);
int mf_104_DP_cfg__Hi_Light(Context& ctx, int on);
int mf_104_DP_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_DP_cfg__OOR_EX(Context& ctx, int value);
int mf_104_DP_cfg__OOR(Context& ctx);
int mf_104_DP_cfg__Limit(Context& ctx);

// Input filter, 0-999.
int mf_104_FILT_cfg__init(Context& ctx, Locator* loc);
int mf_104_FILT_cfg__SV(Context& ctx, int raw);
int mf_104_FILT_cfg__GV(Context& ctx);
int mf_104_FILT_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_FILT_cfg__Query_Rng(Context& ctx, int* min, int* max);
int mf_104_FILT_cfg__Hi_Light(Context& ctx, int on);
int mf_104_FILT_cfg__OOR(Context& ctx);
int mf_104_FILT_cfg__Limit(Context& ctx);

// Cut ring of the linear inputs; enabled only for the linear-signal types.
int mf_104_CUT_cfg__init(Context& ctx, Locator* loc);
int mf_104_CUT_cfg__SI(Context& ctx, int index);
int mf_104_CUT_cfg__GI(Context& ctx);
int mf_104_CUT_cfg__Toggle_Dim(Context& ctx);

// Output direction: two radio buttons.
int mf_104_DIR_cfg__who_am_I(Context& ctx, int panel, int control);
int mf_104_DIR_cfg__init(Context& ctx, int index, Locator* loc);
int mf_104_DIR_cfg__Radio__SV(Context& ctx, int index, int on);
int mf_104_DIR_cfg__Radio__GV(Context& ctx, int index);
int mf_104_DIR_cfg__SV(Context& ctx, int index);
int mf_104_DIR_cfg__GV(Context& ctx);

// 1 when the type is one of the linear signals (mV, V, mA).
int fn_is_Linear_Type(Context& ctx);

}  // namespace conf
