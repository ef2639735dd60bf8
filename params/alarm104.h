#pragma once
// Model A's two alarms (selector bit 14: 0 alarm 1, 1 alarm 2): function (AxFU_cfg) and mode
// (AxMD_cfg) rings, set point (AxSP_cfg) and hysteresis (AxHY_cfg), decimal-point scaled.

#include "core/context.h"
#include "params/locator.h"

namespace conf {

int mf_104_AxFU_cfg__q_MB_Address(Context& ctx);
int mf_104_AxFU_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_AxFU_cfg__init(Context& ctx, Locator* loc);
int mf_104_AxFU_cfg__SI(Context& ctx, int index);
int mf_104_AxFU_cfg__GI(Context& ctx);
int mf_104_AxFU_cfg__SA_i32(Context& ctx, int attribute, int value);

int mf_104_AxMD_cfg__q_MB_Address(Context& ctx);
int mf_104_AxMD_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_AxMD_cfg__init(Context& ctx, Locator* loc);
int mf_104_AxMD_cfg__SI(Context& ctx, int index);
int mf_104_AxMD_cfg__GI(Context& ctx);
int mf_104_AxMD_cfg__SA_i32(Context& ctx, int attribute, int value);

// Set point: the display range.
int mf_104_AxSP_cfg__q_MB_Address(Context& ctx);
int mf_104_AxSP_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_AxSP_cfg__init(Context& ctx, Locator* loc);
int mf_104_AxSP_cfg__SV(Context& ctx, int raw);
int mf_104_AxSP_cfg__GV(Context& ctx);
int mf_104_AxSP_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_AxSP_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_AxSP_cfg__Hi_Light(Context& ctx, int on);
int mf_104_AxSP_cfg__OOR(Context& ctx);
int mf_104_AxSP_cfg__Limit(Context& ctx);
int mf_104_AxSP_cfg__Set_Precision(Context& ctx);
int mf_104_AxSP_cfg__Refresh(Context& ctx);

// Hysteresis: 0 to the display range's high end.
int mf_104_AxHY_cfg__q_MB_Address(Context& ctx);
int mf_104_AxHY_cfg__Who_Am_I(Context& ctx, int panel, int control);
int mf_104_AxHY_cfg__init(Context& ctx, Locator* loc);
int mf_104_AxHY_cfg__SV(Context& ctx, int raw);
int mf_104_AxHY_cfg__GV(Context& ctx);
int mf_104_AxHY_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_AxHY_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_AxHY_cfg__Hi_Light(Context& ctx, int on);
int mf_104_AxHY_cfg__OOR(Context& ctx);
int mf_104_AxHY_cfg__Limit(Context& ctx);
int mf_104_AxHY_cfg__Set_Precision(Context& ctx);
int mf_104_AxHY_cfg__Refresh(Context& ctx);

}  // namespace conf
