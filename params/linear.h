#pragma once
// The linear inputs: the six signal rows "mV.L" .. "mA.H" (LinSig_cfg, selector bits
// 9-11), scaled by the display digits, and the linear scale "SCA.L"/"SCA.H" (LinScale_cfg,
// selector bit 12), scaled by the decimal point.

#include "core/context.h"
#include "params/locator.h"
#include "params/module_ops.h"

namespace conf {

// SV shows display digits 0 as raw / 10 with one decimal, 1 as raw / 100 with two; GV gives the
// shown value confined to -66 .. 66 with its decimal point removed.
NumericModule LinSig_cfg_def(const Context& ctx);
struct LinSig_cfg : NumericOps<LinSig_cfg_def> {
    using NumericOps::Toggle_Dim;
    // All rows dimmed except the two of the selected linear type.
    static int Toggle_Dim(Context& ctx);
    // Puts evLinSig on the six rows (selector field left at the last row;
    // params/callbacks_cfg.cpp).
    static int CALLBACK(Context& ctx);
};

NumericModule LinScale_cfg_def(const Context& ctx);
struct LinScale_cfg : NumericOps<LinScale_cfg_def> {
    using NumericOps::Toggle_Dim;
    // Both enabled for the linear-signal types, dimmed otherwise.
    static int Toggle_Dim(Context& ctx);
};

}  // namespace conf
