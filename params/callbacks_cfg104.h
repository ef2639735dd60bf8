#pragma once
// The control callbacks of model A's parameter controls, under the names the panel resource
// gives them, and the installers of the two groups whose buttons and rows come from the
// resource without a callback. Each begins with the Enter step of the focus order; a commit
// then selects the member, marks and limits the value and applies its dependencies.

#include "core/context.h"

namespace conf {

// Puts ev104TypeR on the 14 input-type buttons.
int mf_104_TYPE_cfg__CALLBACK(Context& ctx);
// Puts ev104LinSig on the six linear-signal rows (selector field left at the last row).
int mf_104_LinSig_cfg__CALLBACK(Context& ctx);

// Commit: the value is checked and limited.
int ev104IDcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104Filter(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104MRng(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104PVOFusr(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104LinSig(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104LinScale(Context& ctx, int panel, int control, int event, void* data, int data1,
                  int data2);
int ev104AxSP(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104AxHY(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Commit: checked and limited, then the ranges that depend on it.
int ev104Unit(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104DecimalPoint(Context& ctx, int panel, int control, int event, void* data, int data1,
                      int data2);
// Input-type buttons: commit selects; the arrow keys step through the types; the type's
// dependencies follow every commit and key press.
int ev104TypeR(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Radio groups: commit selects the button.
int ev104dirR(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104RTS_R_cfg(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
int ev104RTS_R_cal(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
// Output calibration values: commit selects, checks and limits (the write follows later).
int ev104RTS_VAL(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104RTS_VAL_cal(Context& ctx, int panel, int control, int event, void* data, int data1,
                     int data2);
// Relay buttons: commit selects the relay (the write follows later).
int ev104ARelay(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Serial-number fields: commit selects, checks and limits.
int ev104_SN_V(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Remote value: commit marks an out-of-range value (the write follows later).
int ev104_RSP_W_PV(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
// Rings written only by write-all or the Set button: the Enter step only.
int ev104BRcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104RTUcfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104Cut(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104Lock(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104AxFU(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104AxMD(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int ev104Digit_Set(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
int ev104ALM_Set(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// Indicators: nothing.
int ev104DSP_Limit(Context& ctx, int panel, int control, int event, void* data, int data1,
                   int data2);
int ev104MRng_rat(Context& ctx, int panel, int control, int event, void* data, int data1,
                  int data2);
int ev104PVOF_rat(Context& ctx, int panel, int control, int event, void* data, int data1,
                  int data2);

}  // namespace conf
