#pragma once
// The two alarms (selector bit 14: 0 alarm 1, 1 alarm 2): function (AxFU_cfg) and mode
// (AxMD_cfg) rings, set point (AxSP_cfg) and hysteresis (AxHY_cfg), decimal-point scaled.

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace AxFU_cfg {

int q_MB_Address(Context& ctx);
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace AxFU_cfg

namespace AxMD_cfg {

int q_MB_Address(Context& ctx);
int Who_Am_I(Context& ctx, int panel, int control);
int init(Context& ctx, Locator* loc);
int SI(Context& ctx, int index);
int GI(Context& ctx);
int SA_i32(Context& ctx, int attribute, int value);
}  // namespace AxMD_cfg

namespace AxSP_cfg {

// Set point: the display range.
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
}  // namespace AxSP_cfg

namespace AxHY_cfg {

// Hysteresis: 0 to the display range's high end.
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
}  // namespace AxHY_cfg

}  // namespace conf
