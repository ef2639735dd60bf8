#pragma once
// The input parameters: input type (TYPE_cfg), unit (UNIT_cfg), decimal point
// (DP_cfg), filter (FILT_cfg), cut (CUT_cfg) and output direction (DIR_cfg).

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace TYPE_cfg {

// Input type: 14 radio buttons, types 0-9 temperature, 10-12 linear signals, 13 remote.
int who_am_I(Context& ctx, int panel, int control);
int init(Context& ctx, int index, Locator* loc);
int Radio__SV(Context& ctx, int index, int on);
int Radio__GV(Context& ctx, int index);
int SV(Context& ctx, int index);
// The selected type; 14 when no button is on.
int GV(Context& ctx);
int SetActive(Context& ctx);
int HotKey(Context& ctx, int index, int step);
// 1 for a temperature type (below 10), else 0.
int is_Temp(Context& ctx);
// 1 for a type above 9, else 0.
int is_not_Temp(Context& ctx);
}  // namespace TYPE_cfg

namespace UNIT_cfg {

// Unit ring: 0 °C, 1 °F for temperature types; 2 for the others. Limit resets to the lower
// bound.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int Hi_Light(Context& ctx, int on);
int Query_Range(Context& ctx, int* min, int* max);
int OOR_EX(Context& ctx, int value);
int OOR(Context& ctx);
int Limit(Context& ctx);
}  // namespace UNIT_cfg

namespace DP_cfg {

// Decimal-point ring, index = decimals. Limit resets to the lower bound.
int init(Context& ctx, Locator* loc);
// Captions for the display-digit setting; other settings change nothing.
int Item_Swap(Context& ctx);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int Hi_Light(Context& ctx, int on);
int Query_Range(Context& ctx, int* min, int* max);
int OOR_EX(Context& ctx, int value);
int OOR(Context& ctx);
int Limit(Context& ctx);
}  // namespace DP_cfg

namespace FILT_cfg {

// Input filter, 0-999.
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Rng(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
}  // namespace FILT_cfg

namespace CUT_cfg {

// Cut ring of the linear inputs; enabled only for the linear-signal types.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int Toggle_Dim(Context& ctx);
}  // namespace CUT_cfg

namespace DIR_cfg {

// Output direction: two radio buttons.
int who_am_I(Context& ctx, int panel, int control);
int init(Context& ctx, int index, Locator* loc);
int Radio__SV(Context& ctx, int index, int on);
int Radio__GV(Context& ctx, int index);
int SV(Context& ctx, int index);
int GV(Context& ctx);
}  // namespace DIR_cfg

// 1 when the type is one of the linear signals (mV, V, mA).
int fn_is_Linear_Type(Context& ctx);

}  // namespace conf
