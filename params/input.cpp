#include "params/input.h"

#include "models/param_catalogue_a.h"
#include "params/main_panel.h"
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
    if (TYPE_cfg::is_Temp(ctx)) {
        *min = 0;
        *max = Cat().tempUnits - 1;
    } else {
        *min = *max = Cat().unitNonTemp;
    }
    return 0;
}

int DpRange(Context& ctx, int* min, int* max) {
    *min = 0;
    if (TYPE_cfg::is_Temp(ctx)) {
        *max = Cat().dpMaxTemp;
        return 0;
    }
    const auto& byDigit = Cat().dpMaxByDigit;
    int digit = DIGIT_cfg::GI(ctx);
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

int TYPE_cfg::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Type(), panel, control);
}
int TYPE_cfg::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Type(), index, loc);
}
int TYPE_cfg::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Type(), index, on);
}
int TYPE_cfg::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Type(), index);
}
int TYPE_cfg::SV(Context& ctx, int index) {
    return radio::SV(ctx, Type(), index);
}
int TYPE_cfg::GV(Context& ctx) {
    return radio::GV(ctx, Type());
}
int TYPE_cfg::SetActive(Context& ctx) {
    return radio::SetActive(ctx, Type());
}
int TYPE_cfg::HotKey(Context& ctx, int index, int step) {
    return radio::HotKey(ctx, Type(), index, step);
}
int TYPE_cfg::is_Temp(Context& ctx) {
    return TYPE_cfg::GV(ctx) < Cat().tempTypes ? 1 : 0;
}
int TYPE_cfg::is_not_Temp(Context& ctx) {
    return TYPE_cfg::GV(ctx) > Cat().tempTypes - 1 ? 1 : 0;
}

int fn_is_Linear_Type(Context& ctx) {
    int type = TYPE_cfg::GV(ctx);
    return type >= Cat().firstLinearType && type <= Cat().lastLinearType ? 1 : 0;
}

// --- UNIT_cfg -------------------------------------------------------------------------------

int UNIT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Unit(), loc);
}
int UNIT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Unit(), index);
}
int UNIT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Unit());
}
int UNIT_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Unit(), on);
}
int UNIT_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Unit(), min, max);
}
int UNIT_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Unit(), value);
}
int UNIT_cfg::OOR(Context& ctx) {
    return ring::OOR(ctx, Unit());
}
int UNIT_cfg::Limit(Context& ctx) {
    return ring::Limit(ctx, Unit());
}

// --- DP_cfg ---------------------------------------------------------------------------------

int DP_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Dp(), loc);
}

int DP_cfg::Item_Swap(Context& ctx) {
    const auto& captions = Cat().dpCaptions;
    int digit = DIGIT_cfg::GI(ctx);
    if (digit < 0 || digit >= static_cast<int>(captions.size())) return 0;
    Locator loc;
    int r = DP_cfg::init(ctx, &loc);
    if (r < 0) return r;
    // Items are replaced one by one in place; the selection is put back afterwards.
    int selected = DP_cfg::GI(ctx);
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

int DP_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Dp(), index);
}
int DP_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Dp());
}
int DP_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Dp(), on);
}
int DP_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Dp(), min, max);
}
int DP_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Dp(), value);
}
int DP_cfg::OOR(Context& ctx) {
    return ring::OOR(ctx, Dp());
}
int DP_cfg::Limit(Context& ctx) {
    return ring::Limit(ctx, Dp());
}

// --- FILT_cfg -------------------------------------------------------------------------------

int FILT_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Filt(), loc);
}
int FILT_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, Filt(), raw);
}
int FILT_cfg::GV(Context& ctx) {
    return num::GV(ctx, Filt());
}
int FILT_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Filt(), attribute, value);
}
int FILT_cfg::Query_Rng(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Filt(), min, max);
}
int FILT_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Filt(), on);
}
int FILT_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, Filt());
}
int FILT_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, Filt());
}

// --- CUT_cfg --------------------------------------------------------------------------------

int CUT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Cut(), loc);
}
int CUT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Cut(), index);
}
int CUT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Cut());
}
int CUT_cfg::Toggle_Dim(Context& ctx) {
    return ring::Toggle_Dim(ctx, Cut(), fn_is_Linear_Type(ctx) ? 0 : 1);
}

// --- DIR_cfg --------------------------------------------------------------------------------

int DIR_cfg::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Dir(), panel, control);
}
int DIR_cfg::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Dir(), index, loc);
}
int DIR_cfg::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Dir(), index, on);
}
int DIR_cfg::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Dir(), index);
}
int DIR_cfg::SV(Context& ctx, int index) {
    return radio::SV(ctx, Dir(), index);
}
int DIR_cfg::GV(Context& ctx) {
    return radio::GV(ctx, Dir());
}

}  // namespace conf
