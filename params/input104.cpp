#include "params/input104.h"

#include "models/param_catalogue_a.h"
#include "params/main104.h"
#include "params/numeric.h"
#include "params/radio.h"
#include "params/ring.h"

namespace conf {

namespace {

const ParamCatalogue& Cat() {
    return ModelACatalogue();
}

const RadioGroup& Type() {
    static const RadioGroup g{&Context::gvCFG, Cat().caCC_TYPE};
    return g;
}

const RadioGroup& Dir() {
    static const RadioGroup g{&Context::gvCFG, Cat().caCC_DIR};
    return g;
}

int UnitRange(Context& ctx, int* min, int* max) {
    if (mf_104_TYPE_cfg__is_Temp(ctx)) {
        *min = 0;
        *max = Cat().tempUnits - 1;
    } else {
        *min = *max = Cat().unitNonTemp;
    }
    return 0;
}

int DpRange(Context& ctx, int* min, int* max) {
    *min = 0;
    if (mf_104_TYPE_cfg__is_Temp(ctx)) {
        *max = Cat().dpMaxTemp;
        return 0;
    }
    const auto& byDigit = Cat().dpMaxByDigit;
    int digit = mf_104_DIGIT_cfg__GI(ctx);
    // An unknown digit setting gets the narrower display's range.
    *max = digit >= 0 && digit < static_cast<int>(byDigit.size()) ? byDigit[digit] : byDigit[0];
    return 0;
}

int FiltRange(Context&, int* min, int* max) {
    *min = Cat().rngFILT.low;
    *max = Cat().rngFILT.high;
    return 0;
}

const RingModule& Unit() {
    static const RingModule m{&Context::gvCFG, Cat().ccUNIT,       {},  nullptr,
                              UnitRange,       kColorNormalUnitDp, true};
    return m;
}

const RingModule& Dp() {
    static const RingModule m{&Context::gvCFG, Cat().ccDP,         {},  nullptr,
                              DpRange,         kColorNormalUnitDp, true};
    return m;
}

const NumericModule& Filt() {
    static const NumericModule m{&Context::gvCFG, Cat().ccFILT, {}, nullptr, nullptr, FiltRange};
    return m;
}

const RingModule& Cut() {
    static const RingModule m{&Context::gvCFG, Cat().ccCUT,  {},   nullptr,
                              nullptr,         kColorNormal, false};
    return m;
}

}  // namespace

// --- TYPE_cfg -------------------------------------------------------------------------------

int mf_104_TYPE_cfg__who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Type(), panel, control);
}
int mf_104_TYPE_cfg__init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Type(), index, loc);
}
int mf_104_TYPE_cfg__Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Type(), index, on);
}
int mf_104_TYPE_cfg__Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Type(), index);
}
int mf_104_TYPE_cfg__SV(Context& ctx, int index) {
    return radio::SV(ctx, Type(), index);
}
int mf_104_TYPE_cfg__GV(Context& ctx) {
    return radio::GV(ctx, Type());
}
int mf_104_TYPE_cfg__SetActive(Context& ctx) {
    return radio::SetActive(ctx, Type());
}
int mf_104_TYPE_cfg__HotKey(Context& ctx, int index, int step) {
    return radio::HotKey(ctx, Type(), index, step);
}
int mf_104_TYPE_cfg__is_Temp(Context& ctx) {
    return mf_104_TYPE_cfg__GV(ctx) < Cat().tempTypes ? 1 : 0;
}
int mf_104_TYPE_cfg__is_not_Temp(Context& ctx) {
    return mf_104_TYPE_cfg__GV(ctx) > Cat().tempTypes - 1 ? 1 : 0;
}

int fn_is_Linear_Type(Context& ctx) {
    int type = mf_104_TYPE_cfg__GV(ctx);
    return type >= Cat().firstLinearType && type <= Cat().lastLinearType ? 1 : 0;
}

// --- UNIT_cfg -------------------------------------------------------------------------------

int mf_104_UNIT_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Unit(), loc);
}
int mf_104_UNIT_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Unit(), index);
}
int mf_104_UNIT_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Unit());
}
int mf_104_UNIT_cfg__Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Unit(), on);
}
int mf_104_UNIT_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Unit(), min, max);
}
int mf_104_UNIT_cfg__OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Unit(), value);
}
int mf_104_UNIT_cfg__OOR(Context& ctx) {
    return ring::OOR(ctx, Unit());
}
int mf_104_UNIT_cfg__Limit(Context& ctx) {
    return ring::Limit(ctx, Unit());
}

// --- DP_cfg ---------------------------------------------------------------------------------

int mf_104_DP_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Dp(), loc);
}

int mf_104_DP_cfg__Item_Swap(Context& ctx) {
    const auto& captions = Cat().dpCaptions;
    int digit = mf_104_DIGIT_cfg__GI(ctx);
    if (digit < 0 || digit >= static_cast<int>(captions.size())) return 0;
    Locator loc;
    int r = mf_104_DP_cfg__init(ctx, &loc);
    if (r < 0) return r;
    // Items are replaced one by one in place; the selection is put back afterwards.
    int selected = mf_104_DP_cfg__GI(ctx);
    int count = 0;
    ctx.ui.GetNumListItems(loc.panel, loc.control, &count);
    const auto& items = captions[static_cast<size_t>(digit)];
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (i < count) ctx.ui.DeleteListItem(loc.panel, loc.control, i, 1);
        ctx.ui.InsertListItem(loc.panel, loc.control, i, items[static_cast<size_t>(i)], i);
    }
    if (selected >= 0) ctx.ui.SetCtrlIndex(loc.panel, loc.control, selected);
    return 0;
}

int mf_104_DP_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Dp(), index);
}
int mf_104_DP_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Dp());
}
int mf_104_DP_cfg__Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Dp(), on);
}
int mf_104_DP_cfg__Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Dp(), min, max);
}
int mf_104_DP_cfg__OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Dp(), value);
}
int mf_104_DP_cfg__OOR(Context& ctx) {
    return ring::OOR(ctx, Dp());
}
int mf_104_DP_cfg__Limit(Context& ctx) {
    return ring::Limit(ctx, Dp());
}

// --- FILT_cfg -------------------------------------------------------------------------------

int mf_104_FILT_cfg__init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Filt(), loc);
}
int mf_104_FILT_cfg__SV(Context& ctx, int raw) {
    return num::SV(ctx, Filt(), raw);
}
int mf_104_FILT_cfg__GV(Context& ctx) {
    return num::GV(ctx, Filt());
}
int mf_104_FILT_cfg__SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Filt(), attribute, value);
}
int mf_104_FILT_cfg__Query_Rng(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Filt(), min, max);
}
int mf_104_FILT_cfg__Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Filt(), on);
}
int mf_104_FILT_cfg__OOR(Context& ctx) {
    return num::OOR(ctx, Filt());
}
int mf_104_FILT_cfg__Limit(Context& ctx) {
    return num::Limit(ctx, Filt());
}

// --- CUT_cfg --------------------------------------------------------------------------------

int mf_104_CUT_cfg__init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Cut(), loc);
}
int mf_104_CUT_cfg__SI(Context& ctx, int index) {
    return ring::SI(ctx, Cut(), index);
}
int mf_104_CUT_cfg__GI(Context& ctx) {
    return ring::GI(ctx, Cut());
}
int mf_104_CUT_cfg__Toggle_Dim(Context& ctx) {
    return ring::Toggle_Dim(ctx, Cut(), fn_is_Linear_Type(ctx) ? 0 : 1);
}

// --- DIR_cfg --------------------------------------------------------------------------------

int mf_104_DIR_cfg__who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Dir(), panel, control);
}
int mf_104_DIR_cfg__init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Dir(), index, loc);
}
int mf_104_DIR_cfg__Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Dir(), index, on);
}
int mf_104_DIR_cfg__Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Dir(), index);
}
int mf_104_DIR_cfg__SV(Context& ctx, int index) {
    return radio::SV(ctx, Dir(), index);
}
int mf_104_DIR_cfg__GV(Context& ctx) {
    return radio::GV(ctx, Dir());
}

}  // namespace conf
