#include "params/linear.h"

#include <algorithm>

#include "core/selector.h"
#include "models/model.h"
#include "params/input.h"
#include "params/main_panel.h"
#include "params/measuring.h"
#include "params/numeric.h"
#include "params/scaling.h"
#include "params/scaling_dp.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

// Decimals of the signal rows by display digits (e.g. one with the short display, two with
// the long one).
int LinSigDecimals(Context& ctx) {
    const auto& byDigit = Cat(ctx).linSigDecimalsByDigit;
    const int digit = DIGIT_cfg::GI(ctx);
    return digit >= 0 && digit < static_cast<int>(byDigit.size())
               ? byDigit[static_cast<size_t>(digit)]
               : 0;
}

float LinSigToShown(Context& ctx, int raw) {
    return IntToFloatByDecimals(raw, LinSigDecimals(ctx));
}

int LinSigFromShown(Context& ctx, float shown) {
    return DigitsOfShown(shown, Cat(ctx).linSigConfine, LinSigDecimals(ctx));
}

const Scaling& LinSigScaling() {
    static const Scaling scaling{LinSigToShown, LinSigFromShown, LinSigDecimals};
    return scaling;
}

int LinSigRange(Context& ctx, int* min, int* max) {
    const auto& base = Cat(ctx).linSigBase;
    int row = GetField(ctx.gsRAM01, kSelLinSig);
    if (row >= static_cast<int>(base.size())) {
        *min = *max = 0;
        return 0;
    }
    RawRange r = base[static_cast<size_t>(row)];
    // A row shown with one decimal holds tenths instead of hundredths.
    if (LinSigDecimals(ctx) == 1) {
        r.low /= 10;
        r.high /= 10;
    }
    int dLow = 0, dHigh = 0;
    DRng_cfg::Query_Range(ctx, &dLow, &dHigh);
    *min = std::max(r.low, dLow);
    *max = std::min(r.high, dHigh);
    return 0;
}

}  // namespace

NumericModule LinSig_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_LinSig, Module::kLinSig,
                         &kSelLinSig,     &LinSigScaling(),     LinSigRange};
}

NumericModule LinScale_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).caCC_LinScale, Module::kLinScale,
                         &kSelLinScale,   &DpScaling(),           DRng_cfg::Query_Range};
}

// --- LinSig_cfg -----------------------------------------------------------------------------

int LinSig_cfg::Toggle_Dim(Context& ctx) {
    const int rows = static_cast<int>(Cat(ctx).caCC_LinSig.size());
    for (int row = 0; row < rows; ++row) {
        num::Select(ctx, LinSig_cfg_def(ctx), row);
        num::Toggle_Dim(ctx, LinSig_cfg_def(ctx), 1);
    }
    if (!fn_is_Linear_Type(ctx)) return 0;
    // Each linear type has a low and a high row, in type order.
    const int first = 2 * (TYPE_cfg::GV(ctx) - Cat(ctx).firstLinearType);
    for (int row = first; row < first + 2; ++row) {
        num::Select(ctx, LinSig_cfg_def(ctx), row);
        num::Toggle_Dim(ctx, LinSig_cfg_def(ctx), 0);
    }
    return 0;
}

// --- LinScale_cfg ---------------------------------------------------------------------------

int LinScale_cfg::Toggle_Dim(Context& ctx) {
    const int dim = fn_is_Linear_Type(ctx) ? 0 : 1;
    for (int i = 0; i < static_cast<int>(Cat(ctx).caCC_LinScale.size()); ++i) {
        num::Select(ctx, LinScale_cfg_def(ctx), i);
        num::Toggle_Dim(ctx, LinScale_cfg_def(ctx), dim);
    }
    return 0;
}

}  // namespace conf
