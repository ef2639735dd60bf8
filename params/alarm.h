#pragma once
// The two alarms (selector bit 14: 0 alarm 1, 1 alarm 2): function (AxFU_cfg) and mode
// (AxMD_cfg) rings, set point (AxSP_cfg) and hysteresis (AxHY_cfg), decimal-point scaled.

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {
RingModule AxFU_cfg_def(const Context& ctx);
struct AxFU_cfg : RingOps<AxFU_cfg_def> {};

RingModule AxMD_cfg_def(const Context& ctx);
struct AxMD_cfg : RingOps<AxMD_cfg_def> {};

// Set point: the display range.
NumericModule AxSP_cfg_def(const Context& ctx);
struct AxSP_cfg : NumericOps<AxSP_cfg_def> {};

// Hysteresis: 0 to the display range's high end.
NumericModule AxHY_cfg_def(const Context& ctx);
struct AxHY_cfg : NumericOps<AxHY_cfg_def> {};

}  // namespace conf
