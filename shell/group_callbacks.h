#pragma once
// Controls that come from the panel resource without a callback get theirs at start-up: the
// input-type buttons and the linear-signal rows (parameter editor, params/), the
// input-calibration step buttons and their reference fields.

#include "core/context.h"
#include "params/callbacks_cfg.h"

namespace conf {
namespace IC_B {

int CALLBACK(Context& ctx);
}  // namespace IC_B

namespace ICSP {
int CALLBACK(Context& ctx);
}  // namespace ICSP

// What the callbacks of the navigable controls do on a key press: Enter moves on.
int fn_Enter_Callback(Context& ctx, int panel, int control, int event, void* data, int data1,
                      int data2);

}  // namespace conf
