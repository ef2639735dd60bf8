#include "params/numeric.h"

#include <algorithm>
#include <climits>

namespace conf::num {

namespace {

int Count(const NumericModule& m) {
    return static_cast<int>(m.controls.size());
}

int InitAt(Context& ctx, const NumericModule& m, int index, Locator* loc) {
    loc->panel = ctx.*m.page;
    loc->control = 0;
    if (index < 0 || index >= Count(m)) return ui::UIE_INDEX_OUT_OF_RANGE;
    loc->control = ctx.ui.FindCtrl(loc->panel, m.controls[static_cast<size_t>(index)]);
    return loc->control < 0 ? loc->control : 0;
}

int SVAt(Context& ctx, const NumericModule& m, int index, int raw) {
    Locator loc;
    int r = InitAt(ctx, m, index, &loc);
    if (r < 0) return r;
    if (m.scaling)
        return ctx.ui.SetCtrlVal(loc.panel, loc.control,
                                 static_cast<double>(m.scaling->toShown(ctx, raw)));
    return ctx.ui.SetCtrlVal(loc.panel, loc.control, raw);
}

}  // namespace

int Selected(const Context& ctx, const NumericModule& m) {
    return m.member ? GetField(ctx.gsRAM01, *m.member) : 0;
}

void Select(Context& ctx, const NumericModule& m, int index) {
    if (m.member) SetField(ctx.gsRAM01, *m.member, index);
}

int Init(Context& ctx, const NumericModule& m, Locator* loc) {
    return InitAt(ctx, m, Selected(ctx, m), loc);
}

int InitPair(Context& ctx, const NumericModule& m, PairLocator* loc) {
    Locator first, second;
    int r = InitAt(ctx, m, 0, &first);
    int r2 = InitAt(ctx, m, 1, &second);
    loc->panel = first.panel;
    loc->first = first.control;
    loc->second = second.control;
    return r < 0 ? r : r2;
}

int SV(Context& ctx, const NumericModule& m, int raw) {
    return SVAt(ctx, m, Selected(ctx, m), raw);
}

int GV(Context& ctx, const NumericModule& m) {
    Locator loc;
    if (Init(ctx, m, &loc) < 0) return 0;
    if (m.scaling) {
        double shown = 0.0;
        if (ctx.ui.GetCtrlVal(loc.panel, loc.control, &shown) < 0) return 0;
        return m.scaling->fromShown(ctx, static_cast<float>(shown));
    }
    int raw = 0;
    if (ctx.ui.GetCtrlVal(loc.panel, loc.control, &raw) < 0) return 0;
    return raw;
}

int SA_i32(Context& ctx, const NumericModule& m, int attribute, int value) {
    Locator loc;
    int r = Init(ctx, m, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlAttribute(loc.panel, loc.control, attribute, value);
}

int SA_i32_all(Context& ctx, const NumericModule& m, int attribute, int value) {
    int result = 0;
    for (int i = 0; i < Count(m); ++i) {
        Locator loc;
        int r = InitAt(ctx, m, i, &loc);
        if (r >= 0) r = ctx.ui.SetCtrlAttribute(loc.panel, loc.control, attribute, value);
        if (r < 0) result = r;
    }
    return result;
}

int Query_Range(Context& ctx, const NumericModule& m, int* min, int* max) {
    if (!m.range) {
        *min = INT_MIN;
        *max = INT_MAX;
        return 0;
    }
    return m.range(ctx, min, max);
}

int Hi_Light(Context& ctx, const NumericModule& m, int on) {
    return SA_i32(ctx, m, ui::ATTR_TEXT_BGCOLOR, on ? kColorOutOfRange : kColorNormal);
}

int OOR(Context& ctx, const NumericModule& m) {
    int min = 0, max = 0;
    Query_Range(ctx, m, &min, &max);
    int v = GV(ctx, m);
    bool out = v < min || v > max;
    Hi_Light(ctx, m, out ? 1 : 0);
    return out ? -1 : 0;
}

int Limit(Context& ctx, const NumericModule& m) {
    int min = 0, max = 0;
    Query_Range(ctx, m, &min, &max);
    int v = GV(ctx, m);
    if (v >= min && v <= max) return 0;
    // The rejected value stays on show in red for a moment before the bound replaces it.
    Hi_Light(ctx, m, 1);
    ctx.ui.Delay(kLimitPause);
    SV(ctx, m, std::min(std::max(v, min), max));
    Hi_Light(ctx, m, 0);
    return 0;
}

int Who_Am_I(Context& ctx, const NumericModule& m, int panel, int control) {
    if (!m.member || panel != ctx.*m.page) return 0;
    for (int i = 0; i < Count(m); ++i) {
        if (ctx.ui.FindCtrl(panel, m.controls[static_cast<size_t>(i)]) == control) {
            Select(ctx, m, i);
            break;
        }
    }
    return 0;
}

int q_MB_Address(Context& ctx, const NumericModule& m) {
    const int i = Selected(ctx, m);
    if (m.owner == Module::kNone || i < 0 || i >= static_cast<int>(m.controls.size())) return -1;
    return AddressOf(ctx.model, m.owner, i);
}

int Set_Precision(Context& ctx, const NumericModule& m) {
    if (!m.scaling) return 0;
    int result = 0;
    for (int i = 0; i < Count(m); ++i) {
        Select(ctx, m, i);
        int r = SA_i32(ctx, m, ui::ATTR_PRECISION, m.scaling->decimals(ctx));
        if (r < 0) result = r;
    }
    return result;
}

int Refresh(Context& ctx, const NumericModule& m) {
    int result = 0;
    for (int i = 0; i < Count(m); ++i) {
        Select(ctx, m, i);
        int r = SV(ctx, m, GV(ctx, m));
        if (r < 0) result = r;
    }
    return result;
}

int Toggle_Dim(Context& ctx, const NumericModule& m, int dim) {
    return SA_i32(ctx, m, ui::ATTR_DIMMED, dim ? 1 : 0);
}

int Set_Range(Context& ctx, const NumericModule& m, int low, int high) {
    Select(ctx, m, 0);
    int r = SVAt(ctx, m, 0, low);
    Select(ctx, m, 1);
    int r2 = SVAt(ctx, m, 1, high);
    return r < 0 ? r : r2;
}

}  // namespace conf::num
