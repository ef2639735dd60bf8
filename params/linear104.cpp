#include "params/linear104.h"

#include <algorithm>

#include "core/selector.h"
#include "models/param_catalogue_a.h"
#include "params/input104.h"
#include "params/main104.h"
#include "params/measuring104.h"
#include "params/numeric.h"
#include "params/scaling.h"
#include "params/scaling104.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

// Decimals of the signal rows: one with the short display, two with the long one.
int LinSigDecimals(Context& ctx) {
    switch (mf_104_DIGIT_cfg__GI(ctx)) {
        case 0:
            return 1;
        case 1:
            return 2;
        default:
            return 0;
    }
}

float LinSigToShown(Context& ctx, int raw) {
    return IntToFloatByDecimals(raw, LinSigDecimals(ctx));
}

int LinSigFromShown(Context& ctx, float shown) {
    return DigitsOfShown(shown, Cat().linSigConfine, LinSigDecimals(ctx));
}

const Scaling& LinSigScaling() {
    static const Scaling scaling{LinSigToShown, LinSigFromShown, LinSigDecimals};
    return scaling;
}

int LinSigRange(Context& ctx, int* min, int* max) {
    const auto& base = Cat().linSigBase;
    int row = GetField(ctx.gsRAM01, kSelLinSig);
    if (row >= static_cast<int>(base.size())) {
        *min = *max = 0;
        return 0;
    }
    RawRange r = base[static_cast<size_t>(row)];
    // The short display shows one decimal: the row holds tenths instead of hundredths.
    if (mf_104_DIGIT_cfg__GI(ctx) == 0) {
        r.low /= 10;
        r.high /= 10;
    }
    int dLow = 0, dHigh = 0;
    mf_104_DRng_cfg__Query_Range(ctx, &dLow, &dHigh);
    *min = std::max(r.low, dLow);
    *max = std::min(r.high, dHigh);
    return 0;
}

const NumericModule& LinSig() {
    static const NumericModule m{&Context::gvCFG, Cat().caCC_LinSig, Cat().caADDR_LinSig,
                                 &kSelLinSig,     &LinSigScaling(),  LinSigRange};
    return m;
}

const NumericModule& LinScale() {
    static const NumericModule m{&Context::gvCFG,       Cat().caCC_LinScale,
                                 Cat().caADDR_LinScale, &kSelLinScale,
                                 &DpScaling104(),       mf_104_DRng_cfg__Query_Range};
    return m;
}

}  // namespace

// --- LinSig_cfg -----------------------------------------------------------------------------

int mf_104_LinSig_cfg__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, LinSig());
}
int mf_104_LinSig_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, LinSig(), panel, control);
}
int mf_104_LinSig_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, LinSig(), loc);
}
int mf_104_LinSig_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, LinSig(), raw);
}
int mf_104_LinSig_cfg__GV(Context& ctx) {
    return num::GV(ctx, LinSig());
}
int mf_104_LinSig_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, LinSig(), attribute, value);
}
int mf_104_LinSig_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, LinSig(), min, max);
}
int mf_104_LinSig_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, LinSig(), on);
}
int mf_104_LinSig_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, LinSig());
}
int mf_104_LinSig_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, LinSig());
}
int mf_104_LinSig_cfg__Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, LinSig());
}

int mf_104_LinSig_cfg__Toggle_Dim(Context& ctx) {
    const int rows = static_cast<int>(Cat().caCC_LinSig.size());
    for (int row = 0; row < rows; ++row) {
        num::Select(ctx, LinSig(), row);
        num::Toggle_Dim(ctx, LinSig(), 1);
    }
    if (!fn_is_Linear_Type(ctx)) return 0;
    // Each linear type has a low and a high row, in type order.
    const int first = 2 * (mf_104_TYPE_cfg__GV(ctx) - Cat().firstLinearType);
    for (int row = first; row < first + 2; ++row) {
        num::Select(ctx, LinSig(), row);
        num::Toggle_Dim(ctx, LinSig(), 0);
    }
    return 0;
}

// --- LinScale_cfg ---------------------------------------------------------------------------

int mf_104_LinScale_cfg__q_MB_Address(Context& ctx) {
    return num::q_MB_Address(ctx, LinScale());
}
int mf_104_LinScale_cfg__Who_Am_I(Context& ctx, int panel, int control) {
    return num::Who_Am_I(ctx, LinScale(), panel, control);
}
int mf_104_LinScale_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, LinScale(), loc);
}
int mf_104_LinScale_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, LinScale(), raw);
}
int mf_104_LinScale_cfg__GV(Context& ctx) {
    return num::GV(ctx, LinScale());
}
int mf_104_LinScale_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, LinScale(), attribute, value);
}
int mf_104_LinScale_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, LinScale(), min, max);
}
int mf_104_LinScale_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, LinScale(), on);
}
int mf_104_LinScale_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, LinScale());
}
int mf_104_LinScale_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, LinScale());
}
int mf_104_LinScale_cfg__Set_Precision(Context& ctx) {
    return num::Set_Precision(ctx, LinScale());
}
int mf_104_LinScale_cfg__Refresh(Context& ctx) {
    return num::Refresh(ctx, LinScale());
}

int mf_104_LinScale_cfg__Toggle_Dim(Context& ctx) {
    const int dim = fn_is_Linear_Type(ctx) ? 0 : 1;
    for (int i = 0; i < static_cast<int>(Cat().caCC_LinScale.size()); ++i) {
        num::Select(ctx, LinScale(), i);
        num::Toggle_Dim(ctx, LinScale(), dim);
    }
    return 0;
}

}  // namespace conf
