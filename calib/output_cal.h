#pragma once
// Output calibration on both pages (step selector and the RTS.L / RTS.H values, kept in step),
// and the relay test: every choice goes to the instrument at once.

#include "core/context.h"

namespace conf {

// Writes hot keys and typed values keep within the register's range.
inline constexpr int kRtsStep = 16;

namespace RTS_R {
// Both selectors on `index`, then each page's values enabled by it.
int sync_cfg_cal(Context& ctx, int index);
}  // namespace RTS_R

namespace RTS_V {
// `value` shown in the selected member on both pages.
int sync_cfg_cal(Context& ctx, int value);
}  // namespace RTS_V

int evRTS_R_cfg(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_R_cal(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_VAL(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
int evRTS_VAL_cal(Context& ctx, int panel, int control, int event, void* data, int data1,
                  int data2);
int evARelay(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
