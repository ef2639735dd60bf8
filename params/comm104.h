#pragma once
// Model A's communication parameters on the configuration page: station number (ID_cfg),
// baud rate (BR_cfg), frame format (RTU_cfg), and the lock ring (Lock_cfg), which like the
// frame format exists only from firmware version 2 on.

#include "core/context.h"
#include "params/locator.h"

namespace conf {

// Station number, 1-255.
int mf_104_ID_cfg__init(Context& ctx, Locator* loc);
int mf_104_ID_cfg__SV(Context& ctx, int raw);
int mf_104_ID_cfg__GV(Context& ctx);
int mf_104_ID_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_ID_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_ID_cfg__Hi_Light(Context& ctx, int on);
int mf_104_ID_cfg__OOR(Context& ctx);
int mf_104_ID_cfg__Limit(Context& ctx);

// Baud rate ring, index n = 2400 * 2^n baud.
int mf_104_BR_cfg__init(Context& ctx, Locator* loc);
int mf_104_BR_cfg__SI(Context& ctx, int index);
int mf_104_BR_cfg__GI(Context& ctx);
int mf_104_BR_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_BR_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_BR_cfg__Hi_Light(Context& ctx, int on);
int mf_104_BR_cfg__OOR_EX(Context& ctx, int value);

// Frame format ring: 8N1, 8N2, 8O1, 8E1.
int mf_104_RTU_cfg__init(Context& ctx, Locator* loc);
int mf_104_RTU_cfg__SI(Context& ctx, int index);
int mf_104_RTU_cfg__GI(Context& ctx);
int mf_104_RTU_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_RTU_cfg__Query_Range(Context& ctx, int* min, int* max);
int mf_104_RTU_cfg__Hi_Light(Context& ctx, int on);
int mf_104_RTU_cfg__OOR_EX(Context& ctx, int value);
int mf_104_RTU_cfg__Toggle_Dim(Context& ctx, int dim);

// Lock ring; the index goes to the instrument unchanged.
int mf_104_Lock_cfg__init(Context& ctx, Locator* loc);
int mf_104_Lock_cfg__SI(Context& ctx, int index);
int mf_104_Lock_cfg__GI(Context& ctx);
int mf_104_Lock_cfg__SA_i32(Context& ctx, int attribute, int value);
int mf_104_Lock_cfg__Toggle_Dim(Context& ctx, int dim);

}  // namespace conf
