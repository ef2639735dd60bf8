#pragma once
// The communication parameters on the configuration page: station number (ID_cfg),
// baud rate (BR_cfg), frame format (RTU_cfg), and the lock ring (Lock_cfg), which like the
// frame format exists only from firmware version 2 on.

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace ID_cfg {

// Station number, 1-255.
int init(Context& ctx, Locator* loc);
int SV(Context& ctx, int raw);
int GV(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR(Context& ctx);
int Limit(Context& ctx);
}  // namespace ID_cfg

namespace BR_cfg {

// Baud rate ring, index n = 2400 * 2^n baud.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR_EX(Context& ctx, int value);
}  // namespace BR_cfg

namespace RTU_cfg {

// Frame format ring: 8N1, 8N2, 8O1, 8E1.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Query_Range(Context& ctx, int* min, int* max);
int Hi_Light(Context& ctx, int on);
int OOR_EX(Context& ctx, int value);
int Toggle_Dim(Context& ctx, int dim);
}  // namespace RTU_cfg

namespace Lock_cfg {

// Lock ring; the index goes to the instrument unchanged.
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
int Toggle_Dim(Context& ctx, int dim);
}  // namespace Lock_cfg

}  // namespace conf
