#pragma once
// Model A's linear inputs: the six signal rows "mV.L" .. "mA.H" (LinSig_cfg, selector bits
// 9-11), scaled by the display digits, and the linear scale "SCA.L"/"SCA.H" (LinScale_cfg,
// selector bit 12), scaled by the decimal point.

#include "core/context.h"
#include "params/locator.h"

namespace conf {

int mf_104_LinSig_cfg__q_MB_Address(Context& ctx);
int mf_104_LinSig_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_LinSig_cfg__init(Context& ctx, Locator* loc);
// Display digits 0: raw / 10 with one decimal; 1: raw / 100 with two.
int mf_104_LinSig_cfg__SV(Context& ctx, int raw);
// The shown value confined to -66 .. 66 with its decimal point removed.
int mf_104_LinSig_cfg__GV(Context& ctx);
int mf_104_LinSig_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_LinSig_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_LinSig_cfg__Hi_Light(Context& ctx, int on);
int mf_104_LinSig_cfg__OOR(Context& ctx);
int mf_104_LinSig_cfg__Limit(Context& ctx);
int mf_104_LinSig_cfg__Set_Precision(Context& ctx);
// All rows dimmed except the two of the selected linear type.
int mf_104_LinSig_cfg__Toggle_Dim(Context& ctx);

int mf_104_LinScale_cfg__q_MB_Address(Context& ctx);
int mf_104_LinScale_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_LinScale_cfg__init(Context& ctx, Locator* loc);
int mf_104_LinScale_cfg__SV(Context& ctx, int raw);
int mf_104_LinScale_cfg__GV(Context& ctx);
int mf_104_LinScale_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_LinScale_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_LinScale_cfg__Hi_Light(Context& ctx, int on);
int mf_104_LinScale_cfg__OOR(Context& ctx);
int mf_104_LinScale_cfg__Limit(Context& ctx);
int mf_104_LinScale_cfg__Set_Precision(Context& ctx);
int mf_104_LinScale_cfg__Refresh(Context& ctx);
// Both enabled for the linear-signal types, dimmed otherwise.
int mf_104_LinScale_cfg__Toggle_Dim(Context& ctx);

}  // namespace conf
