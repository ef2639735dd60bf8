#include "params/input.h"

#include "models/model.h"
#include "params/main_panel.h"
#include "params/numeric.h"
#include "params/radio.h"
#include "params/ring.h"

namespace conf {

namespace {

const ParamCatalogue& Cat(const Context& ctx) {
    return ctx.model.catalogue;
}

RadioGroup Type(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_TYPE};
}

RadioGroup Dir(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_DIR};
}

int UnitRange(Context& ctx, int* min, int* max) {
    if (TYPE_cfg::is_Temp(ctx)) {
        *min = 0;
        *max = Cat(ctx).tempUnits - 1;
    } else {
        *min = *max = Cat(ctx).unitNonTemp;
    }
    return 0;
}

int DpRange(Context& ctx, int* min, int* max) {
    *min = 0;
    if (TYPE_cfg::is_Temp(ctx)) {
        *max = Cat(ctx).dpMaxTemp;
        return 0;
    }
    const auto& byDigit = Cat(ctx).dpMaxByDigit;
    int digit = DIGIT_cfg::GI(ctx);
    // An unknown digit setting gets the narrower display's range.
    *max = digit >= 0 && digit < static_cast<int>(byDigit.size()) ? byDigit[digit] : byDigit[0];
    return 0;
}

int FiltRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngFILT.low;
    *max = Cat(ctx).rngFILT.high;
    return 0;
}

RingModule Unit(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccUNIT,    {},  nullptr,
                      UnitRange,       kColorNormalUnitDp, true};
}

RingModule Dp(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccDP,      {},  nullptr,
                      DpRange,         kColorNormalUnitDp, true};
}

NumericModule Filt(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).ccFILT, {}, nullptr, nullptr, FiltRange};
}

RingModule Cut(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccCUT, {}, nullptr, nullptr, kColorNormal, false};
}

}  // namespace

// --- TYPE_cfg -------------------------------------------------------------------------------

int TYPE_cfg::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Type(ctx), panel, control);
}
int TYPE_cfg::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Type(ctx), index, loc);
}
int TYPE_cfg::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Type(ctx), index, on);
}
int TYPE_cfg::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Type(ctx), index);
}
int TYPE_cfg::SV(Context& ctx, int index) {
    return radio::SV(ctx, Type(ctx), index);
}
int TYPE_cfg::GV(Context& ctx) {
    return radio::GV(ctx, Type(ctx));
}
int TYPE_cfg::SetActive(Context& ctx) {
    return radio::SetActive(ctx, Type(ctx));
}
int TYPE_cfg::HotKey(Context& ctx, int index, int step) {
    return radio::HotKey(ctx, Type(ctx), index, step);
}
int TYPE_cfg::is_Temp(Context& ctx) {
    return TYPE_cfg::GV(ctx) < Cat(ctx).tempTypes ? 1 : 0;
}
int TYPE_cfg::is_not_Temp(Context& ctx) {
    return TYPE_cfg::GV(ctx) > Cat(ctx).tempTypes - 1 ? 1 : 0;
}

int fn_is_Linear_Type(Context& ctx) {
    int type = TYPE_cfg::GV(ctx);
    return type >= Cat(ctx).firstLinearType && type <= Cat(ctx).lastLinearType ? 1 : 0;
}

// --- UNIT_cfg -------------------------------------------------------------------------------

int UNIT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Unit(ctx), loc);
}
int UNIT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Unit(ctx), index);
}
int UNIT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Unit(ctx));
}
int UNIT_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Unit(ctx), on);
}
int UNIT_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Unit(ctx), min, max);
}
int UNIT_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Unit(ctx), value);
}
int UNIT_cfg::OOR(Context& ctx) {
    return ring::OOR(ctx, Unit(ctx));
}
int UNIT_cfg::Limit(Context& ctx) {
    return ring::Limit(ctx, Unit(ctx));
}

// --- DP_cfg ---------------------------------------------------------------------------------

int DP_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Dp(ctx), loc);
}

int DP_cfg::Item_Swap(Context& ctx) {
    const auto& captions = Cat(ctx).dpCaptions;
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
    return ring::SI(ctx, Dp(ctx), index);
}
int DP_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Dp(ctx));
}
int DP_cfg::Hi_Light(Context& ctx, int on) {
    return ring::Hi_Light(ctx, Dp(ctx), on);
}
int DP_cfg::Query_Range(Context& ctx, int* min, int* max) {
    return ring::Query_Range(ctx, Dp(ctx), min, max);
}
int DP_cfg::OOR_EX(Context& ctx, int value) {
    return ring::OOR_EX(ctx, Dp(ctx), value);
}
int DP_cfg::OOR(Context& ctx) {
    return ring::OOR(ctx, Dp(ctx));
}
int DP_cfg::Limit(Context& ctx) {
    return ring::Limit(ctx, Dp(ctx));
}

// --- FILT_cfg -------------------------------------------------------------------------------

int FILT_cfg::init(Context& ctx, Locator* loc) {
    return num::Init(ctx, Filt(ctx), loc);
}
int FILT_cfg::SV(Context& ctx, int raw) {
    return num::SV(ctx, Filt(ctx), raw);
}
int FILT_cfg::GV(Context& ctx) {
    return num::GV(ctx, Filt(ctx));
}
int FILT_cfg::SA_i32(Context& ctx, int attribute, int value) {
    return num::SA_i32(ctx, Filt(ctx), attribute, value);
}
int FILT_cfg::Query_Rng(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, Filt(ctx), min, max);
}
int FILT_cfg::Hi_Light(Context& ctx, int on) {
    return num::Hi_Light(ctx, Filt(ctx), on);
}
int FILT_cfg::OOR(Context& ctx) {
    return num::OOR(ctx, Filt(ctx));
}
int FILT_cfg::Limit(Context& ctx) {
    return num::Limit(ctx, Filt(ctx));
}

// --- CUT_cfg --------------------------------------------------------------------------------

int CUT_cfg::init(Context& ctx, Locator* loc) {
    return ring::Init(ctx, Cut(ctx), loc);
}
int CUT_cfg::SI(Context& ctx, int index) {
    return ring::SI(ctx, Cut(ctx), index);
}
int CUT_cfg::GI(Context& ctx) {
    return ring::GI(ctx, Cut(ctx));
}
int CUT_cfg::Toggle_Dim(Context& ctx) {
    return ring::Toggle_Dim(ctx, Cut(ctx), fn_is_Linear_Type(ctx) ? 0 : 1);
}

// --- DIR_cfg --------------------------------------------------------------------------------

int DIR_cfg::who_am_I(Context& ctx, int panel, int control) {
    return radio::who_am_I(ctx, Dir(ctx), panel, control);
}
int DIR_cfg::init(Context& ctx, int index, Locator* loc) {
    return radio::init(ctx, Dir(ctx), index, loc);
}
int DIR_cfg::Radio__SV(Context& ctx, int index, int on) {
    return radio::Radio__SV(ctx, Dir(ctx), index, on);
}
int DIR_cfg::Radio__GV(Context& ctx, int index) {
    return radio::Radio__GV(ctx, Dir(ctx), index);
}
int DIR_cfg::SV(Context& ctx, int index) {
    return radio::SV(ctx, Dir(ctx), index);
}
int DIR_cfg::GV(Context& ctx) {
    return radio::GV(ctx, Dir(ctx));
}

}  // namespace conf
