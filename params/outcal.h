#pragma once
// The output calibration controls, on both pages: the step selector (RTS_R_cfg,
// RTS_R_cal: low end begin, high end begin, end) and the two calibration values "RTS.L" and
// "RTS.H" (RTS_V_cfg, RTS_V_cal; selector bit 13, shared by both pages). Only the member of
// the running step is enabled.

#include "core/context.h"
#include "params/locator.h"

namespace conf {
namespace RTS_R_cfg {

int who_am_I(Context& ctx, int panel, int control);
int init(Context& ctx, int index, Locator* loc);
int Radio__SV(Context& ctx, int index, int on);
int Radio__GV(Context& ctx, int index);
int SV(Context& ctx, int index);
int GV(Context& ctx);
}  // namespace RTS_R_cfg

namespace RTS_R_cal {

int who_am_I(Context& ctx, int panel, int control);
int init(Context& ctx, int index, Locator* loc);
int Radio__SV(Context& ctx, int index, int on);
int Radio__GV(Context& ctx, int index);
int SV(Context& ctx, int index);
int GV(Context& ctx);
}  // namespace RTS_R_cal

namespace RTS_V_cfg {

// Calibration values, 0-32767.
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
// Both dimmed, then the member of the page's step (low or high end) enabled and selected.
int Toggle_Dim(Context& ctx);
}  // namespace RTS_V_cfg

namespace RTS_V_cal {

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
int Toggle_Dim(Context& ctx);
}  // namespace RTS_V_cal

}  // namespace conf
