#pragma once
// The linear inputs: the six signal rows "mV.L" .. "mA.H" (LinSig_cfg, selector bits
// 9-11), scaled by the display digits, and the linear scale "SCA.L"/"SCA.H" (LinScale_cfg,
// selector bit 12), scaled by the decimal point.

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace LinSig_cfg {

int q_MB_Address(Context& ctx);
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
// Display digits 0: raw / 10 with one decimal; 1: raw / 100 with two.
int SV(Context& ctx, int raw);
// The shown value confined to -66 .. 66 with its decimal point removed.
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
int Set_Precision(Context& ctx);
// All rows dimmed except the two of the selected linear type.
int Toggle_Dim(Context& ctx);
}  // namespace LinSig_cfg

namespace LinScale_cfg {

int q_MB_Address(Context& ctx);
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
int Set_Precision(Context& ctx);
int Refresh(Context& ctx);
// Both enabled for the linear-signal types, dimmed otherwise.
int Toggle_Dim(Context& ctx);
}  // namespace LinScale_cfg

}  // namespace conf
