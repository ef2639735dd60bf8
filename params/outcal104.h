#pragma once
// Model A's output calibration controls, on both pages: the step selector (RTS_R_cfg,
// RTS_R_cal: low end begin, high end begin, end) and the two calibration values "RTS.L" and
// "RTS.H" (RTS_V_cfg, RTS_V_cal; selector bit 13, shared by both pages). Only the member of
// the running step is enabled.

#include "core/context.h"
#include "params/locator.h"

namespace conf {

int mf_104_RTS_R_cfg__who_am_I(Context& ctx, int panel, int control);
int mf_104_RTS_R_cfg__init(Context& ctx, int index, Locator* loc);
int mf_104_RTS_R_cfg__Radio__SV(Context& ctx, int index, int on);
int mf_104_RTS_R_cfg__Radio__GV(Context& ctx, int index);
int mf_104_RTS_R_cfg__SV(Context& ctx, int index);
int mf_104_RTS_R_cfg__GV(Context& ctx);

int mf_104_RTS_R_cal__who_am_I(Context& ctx, int panel, int control);
int mf_104_RTS_R_cal__init(Context& ctx, int index, Locator* loc);
int mf_104_RTS_R_cal__Radio__SV(Context& ctx, int index, int on);
int mf_104_RTS_R_cal__Radio__GV(Context& ctx, int index);
int mf_104_RTS_R_cal__SV(Context& ctx, int index);
int mf_104_RTS_R_cal__GV(Context& ctx);

// Calibration values, 0-32767.
int mf_104_RTS_V_cfg__q_MB_Address(Context& ctx);
int mf_104_RTS_V_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_RTS_V_cfg__init(Context& ctx, Locator* loc);
int mf_104_RTS_V_cfg__SV(Context& ctx, int raw);
int mf_104_RTS_V_cfg__GV(Context& ctx);
int mf_104_RTS_V_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_RTS_V_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_RTS_V_cfg__Hi_Light(Context& ctx, int on);
int mf_104_RTS_V_cfg__OOR(Context& ctx);
int mf_104_RTS_V_cfg__Limit(Context& ctx);
// Both dimmed, then the member of the page's step (low or high end) enabled and selected.
int mf_104_RTS_V_cfg__Toggle_Dim(Context& ctx);

int mf_104_RTS_V_cal__q_MB_Address(Context& ctx);
int mf_104_RTS_V_cal__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_RTS_V_cal__init(Context& ctx, Locator* loc);
int mf_104_RTS_V_cal__SV(Context& ctx, int raw);
int mf_104_RTS_V_cal__GV(Context& ctx);
int mf_104_RTS_V_cal__SA_i32(Context& ctx, int attribute, int value);
int mf_104_RTS_V_cal__Query_Range(Context& ctx, int* min, int* max);
int mf_104_RTS_V_cal__Hi_Light(Context& ctx, int on);
int mf_104_RTS_V_cal__OOR(Context& ctx);
int mf_104_RTS_V_cal__Limit(Context& ctx);
int mf_104_RTS_V_cal__Toggle_Dim(Context& ctx);

}  // namespace conf
