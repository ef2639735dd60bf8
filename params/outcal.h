#pragma once
// The output calibration controls, on both pages: the step selector (RTS_R_cfg,
// RTS_R_cal: low end begin, high end begin, end) and the two calibration values "RTS.L" and
// "RTS.H" (RTS_V_cfg, RTS_V_cal; selector bit 13, shared by both pages). Only the member of
// the running step is enabled.

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
RadioGroup RTS_R_cfg_def(const Context& ctx);
struct RTS_R_cfg : RadioOps<RTS_R_cfg_def> {
    // The selected step's command to the instrument (calib/output_cal.cpp).
    static int w_SCFg(Context& ctx);
};

RadioGroup RTS_R_cal_def(const Context& ctx);
struct RTS_R_cal : RadioOps<RTS_R_cal_def> {
    static int w_SCFg(Context& ctx);
};

// Calibration values, 0-32767.
// Both dimmed, then the member of the page's step (low or high end) enabled and selected.
NumericModule RTS_V_cfg_def(const Context& ctx);
struct RTS_V_cfg : NumericOps<RTS_V_cfg_def> {
    using NumericOps::Toggle_Dim;
    static int Toggle_Dim(Context& ctx);
    // The selected value to its register, then shown on both pages (calib/output_cal.cpp).
    static int to_Modbus(Context& ctx);
    // Left and right arrows: 16 down or up, kept within 0-32767, and written.
    static int HotKey(Context& ctx, int key);
};

NumericModule RTS_V_cal_def(const Context& ctx);
struct RTS_V_cal : NumericOps<RTS_V_cal_def> {
    using NumericOps::Toggle_Dim;
    static int Toggle_Dim(Context& ctx);
    static int to_Modbus(Context& ctx);
    static int HotKey(Context& ctx, int key);
};

}  // namespace conf
