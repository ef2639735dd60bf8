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
    if (digit >= 0 && digit < static_cast<int>(byDigit.size())) {
        *max = byDigit[static_cast<size_t>(digit)];
        return 0;
    }
    // An unknown digit setting gets the narrower display's range, or the wider one where the
    // model treats every other setting as the wide display.
    *max = Cat(ctx).otherDigitsWide ? byDigit.back() : byDigit.front();
    return 0;
}

int FiltRange(Context& ctx, int* min, int* max) {
    *min = Cat(ctx).rngFILT.low;
    *max = Cat(ctx).rngFILT.high;
    return 0;
}

}  // namespace

RadioGroup TYPE_cfg_def(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_TYPE};
}

RingModule UNIT_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccUNIT,    {},  nullptr,
                      UnitRange,       kColorNormalUnitDp, true};
}

RingModule DP_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccDP,      {},  nullptr,
                      DpRange,         kColorNormalUnitDp, true};
}

NumericModule FILT_cfg_def(const Context& ctx) {
    return NumericModule{&Context::gvCFG, Cat(ctx).ccFILT, {}, nullptr, nullptr, FiltRange};
}

RingModule CUT_cfg_def(const Context& ctx) {
    return RingModule{&Context::gvCFG, Cat(ctx).ccCUT, {}, nullptr, nullptr, kColorNormal, false};
}

RadioGroup DIR_cfg_def(const Context& ctx) {
    return RadioGroup{&Context::gvCFG, Cat(ctx).caCC_DIR};
}

// --- TYPE_cfg -------------------------------------------------------------------------------

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

// --- DP_cfg ---------------------------------------------------------------------------------

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

// --- FILT_cfg -------------------------------------------------------------------------------

int FILT_cfg::Query_Rng(Context& ctx, int* min, int* max) {
    return num::Query_Range(ctx, FILT_cfg_def(ctx), min, max);
}

// --- CUT_cfg --------------------------------------------------------------------------------

int CUT_cfg::Toggle_Dim(Context& ctx) {
    return ring::Toggle_Dim(ctx, CUT_cfg_def(ctx), fn_is_Linear_Type(ctx) ? 0 : 1);
}

}  // namespace conf
