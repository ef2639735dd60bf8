#pragma once
// The output calibration controls, on both pages: the step selector (RTS_R_cfg,
// RTS_R_cal: low end begin, high end begin, end) and the two calibration values "RTS.L" and
// "RTS.H" (RTS_V_cfg, RTS_V_cal; selector bit 13, shared by both pages). Only the member of
// the running step is enabled. The modules, with their writes, are in calib/output_cal.h.

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
RadioGroup RTS_R_cfg_def(const Context& ctx);
struct RTS_R_cfg_panel : RadioOps<RTS_R_cfg_def> {};

RadioGroup RTS_R_cal_def(const Context& ctx);
struct RTS_R_cal_panel : RadioOps<RTS_R_cal_def> {};

// Calibration values, 0-32767.
// Both dimmed, then the member of the page's step (low or high end) enabled and selected.
NumericModule RTS_V_cfg_def(const Context& ctx);
struct RTS_V_cfg_panel : NumericOps<RTS_V_cfg_def> {
    using NumericOps::Toggle_Dim;
    static int Toggle_Dim(Context& ctx);
};

NumericModule RTS_V_cal_def(const Context& ctx);
struct RTS_V_cal_panel : NumericOps<RTS_V_cal_def> {
    using NumericOps::Toggle_Dim;
    static int Toggle_Dim(Context& ctx);
};

}  // namespace conf
