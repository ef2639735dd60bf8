#pragma once
// The polarity setting ring on the calibration page (POLAR_cfg): which of the instrument's two
// sets of input-calibration codes a store uses. Only models with the setting have the ring.

#include "core/context.h"
#include "params/module_ops.h"

namespace conf {

RingModule POLAR_cfg_def(const Context& ctx);
struct POLAR_cfg : RingOps<POLAR_cfg_def> {
    // The ring's value: the selected index (SV shows a value, as SI does).
    static int SV(Context& ctx, int value) { return SI(ctx, value); }
    static int GV(Context& ctx) { return GI(ctx); }
};

}  // namespace conf
