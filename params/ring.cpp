#include "params/ring.h"

#include <algorithm>
#include <climits>

namespace conf::ring {

int Selected(const Context& ctx, const RingModule& m) {
    return m.member ? GetField(ctx.gsRAM01, *m.member) : 0;
}

void Select(Context& ctx, const RingModule& m, int index) {
    if (m.member) SetField(ctx.gsRAM01, *m.member, index);
}

int Init(Context& ctx, const RingModule& m, Locator* loc) {
    int index = Selected(ctx, m);
    loc->panel = ctx.*m.page;
    loc->control = 0;
    if (index < 0 || index >= static_cast<int>(m.controls.size()))
        return ui::UIE_INDEX_OUT_OF_RANGE;
    loc->control = ctx.ui.FindCtrl(loc->panel, m.controls[static_cast<size_t>(index)]);
    return loc->control < 0 ? loc->control : 0;
}

int SI(Context& ctx, const RingModule& m, int index) {
    Locator loc;
    int r = Init(ctx, m, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlIndex(loc.panel, loc.control, index);
}

int Holds(Context& ctx, const RingModule& m, int index) {
    Locator loc;
    int count = 0;
    if (Init(ctx, m, &loc) < 0 || ctx.ui.GetNumListItems(loc.panel, loc.control, &count) < 0)
        return 0;
    return index >= 0 && index < count ? 1 : 0;
}

int GI(Context& ctx, const RingModule& m) {
    Locator loc;
    int index = -1;
    if (Init(ctx, m, &loc) < 0) return -1;
    if (ctx.ui.GetCtrlIndex(loc.panel, loc.control, &index) < 0) return -1;
    return index;
}

int SA_i32(Context& ctx, const RingModule& m, int attribute, int value) {
    Locator loc;
    int r = Init(ctx, m, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlAttribute(loc.panel, loc.control, attribute, value);
}

int Query_Range(Context& ctx, const RingModule& m, int* min, int* max) {
    if (!m.range) {
        *min = INT_MIN;
        *max = INT_MAX;
        return 0;
    }
    return m.range(ctx, min, max);
}

int Hi_Light(Context& ctx, const RingModule& m, int on) {
    return SA_i32(ctx, m, ui::ATTR_FRAME_COLOR, on ? kColorOutOfRange : m.normalColor);
}

int OOR_EX(Context& ctx, const RingModule& m, int value) {
    int min = 0, max = 0;
    Query_Range(ctx, m, &min, &max);
    bool out = value < min || value > max;
    Hi_Light(ctx, m, out ? 1 : 0);
    return out ? -1 : 0;
}

int OOR(Context& ctx, const RingModule& m) {
    return OOR_EX(ctx, m, GI(ctx, m));
}

int Limit(Context& ctx, const RingModule& m) {
    int min = 0, max = 0;
    Query_Range(ctx, m, &min, &max);
    int v = GI(ctx, m);
    if (v >= min && v <= max) return 0;
    // The rejected index stays on show in red for a moment before it is replaced.
    Hi_Light(ctx, m, 1);
    ctx.ui.Delay(kLimitPause);
    SI(ctx, m, m.limitToLow ? min : std::min(std::max(v, min), max));
    Hi_Light(ctx, m, 0);
    return 0;
}

int Who_Am_I(Context& ctx, const RingModule& m, int panel, int control) {
    if (!m.member || panel != ctx.*m.page) return 0;
    for (size_t i = 0; i < m.controls.size(); ++i) {
        if (ctx.ui.FindCtrl(panel, m.controls[i]) == control) {
            Select(ctx, m, static_cast<int>(i));
            break;
        }
    }
    return 0;
}

int q_MB_Address(Context& ctx, const RingModule& m) {
    const int i = Selected(ctx, m);
    if (m.owner == Module::kNone || i < 0 || i >= static_cast<int>(m.controls.size())) return -1;
    return AddressOf(ctx.model, m.owner, i);
}

int Toggle_Dim(Context& ctx, const RingModule& m, int dim) {
    return SA_i32(ctx, m, ui::ATTR_DIMMED, dim ? 1 : 0);
}

}  // namespace conf::ring
