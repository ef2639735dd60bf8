#pragma once
// The control callbacks of the parameter controls, under the program's own names (the model's
// callback table says under which names its panel resource asks for them), and the installers of
// the two groups whose buttons and rows come from the resource without a callback. Each begins with
// the Enter step of the focus order; a commit then selects the member, marks and limits the value
// and applies its dependencies.

#include "core/context.h"

namespace conf {
// TYPE_cfg::CALLBACK and LinSig_cfg::CALLBACK, declared with their modules, are here too.

// Commit: the value is checked and limited.
int evIDcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evFilter(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evMRng(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evPVOFusr(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evLinSig(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evLinScale(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evAxSP(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evAxHY(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Commit: checked and limited, then the ranges that depend on it.
int evUnit(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evDecimalPoint(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
// Input-type buttons: commit selects; the arrow keys step through the types; the type's
// dependencies follow every commit and key press.
int evTypeR(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Radio group: commit selects the button.
int evdirR(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Serial-number fields: commit selects, checks and limits.
int ev_SN_V(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Remote value: commit marks an out-of-range value (the write follows later).
int ev_RSP_W_PV(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Rings written only by write-all or the Set button: the Enter step only.
int evBRcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTUcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evCut(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evLock(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evAxFU(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evAxMD(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evDigit_Set(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evALM_Set(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Indicators: nothing.
int evDSP_Limit(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evMRng_rat(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evPVOF_rat(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
