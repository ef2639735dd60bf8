#pragma once
// Controls that come from the panel resource without a callback get theirs at start-up: the
// input-type buttons and the linear-signal rows (parameter editor, params/), the
// input-calibration step buttons and their reference fields.

#include "core/context.h"
#include "params/callbacks_cfg104.h"

namespace conf {

int mf_104_IC_B__CALLBACK(Context& ctx);
int mf_104_ICSP__CALLBACK(Context& ctx);

// What the callbacks of the navigable controls do on a key press: Enter moves on.
int fn_Enter_Callback(Context& ctx, int panel, int control, int event, void* data, int data1,
                      int data2);

}  // namespace conf
