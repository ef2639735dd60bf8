#include "params/radio.h"

#include <algorithm>

namespace conf::radio {

int Count(const RadioGroup& g) {
    return static_cast<int>(g.buttons.size());
}

int Holds(const RadioGroup& g, int index) {
    return index >= 0 && index < Count(g) ? 1 : 0;
}

int who_am_I(Context& ctx, const RadioGroup& g, int panel, int control) {
    if (panel != ctx.*g.page) return Count(g);
    for (int i = 0; i < Count(g); ++i)
        if (ctx.ui.FindCtrl(panel, g.buttons[static_cast<size_t>(i)]) == control) return i;
    return Count(g);
}

int init(Context& ctx, const RadioGroup& g, int index, Locator* loc) {
    loc->panel = ctx.*g.page;
    loc->control = 0;
    if (index < 0 || index >= Count(g)) return ui::UIE_INDEX_OUT_OF_RANGE;
    loc->control = ctx.ui.FindCtrl(loc->panel, g.buttons[static_cast<size_t>(index)]);
    return loc->control < 0 ? loc->control : 0;
}

int Radio__SV(Context& ctx, const RadioGroup& g, int index, int on) {
    Locator loc;
    int r = init(ctx, g, index, &loc);
    if (r < 0) return r;
    return ctx.ui.SetCtrlVal(loc.panel, loc.control, on ? 1 : 0);
}

int Radio__GV(Context& ctx, const RadioGroup& g, int index) {
    Locator loc;
    int on = 0;
    if (init(ctx, g, index, &loc) < 0) return 0;
    if (ctx.ui.GetCtrlVal(loc.panel, loc.control, &on) < 0) return 0;
    return on;
}

int SV(Context& ctx, const RadioGroup& g, int index) {
    if (Count(g) == 0) return 0;
    for (int i = 0; i < Count(g); ++i)
        Radio__SV(ctx, g, i, 0);
    return Radio__SV(ctx, g, std::clamp(index, 0, Count(g) - 1), 1);
}

int GV(Context& ctx, const RadioGroup& g) {
    for (int i = 0; i < Count(g); ++i)
        if (Radio__GV(ctx, g, i)) return i;
    return Count(g);
}

int SetActive(Context& ctx, const RadioGroup& g) {
    Locator loc;
    int r = init(ctx, g, GV(ctx, g), &loc);
    if (r < 0) return r;
    return ctx.ui.SetActiveCtrl(loc.panel, loc.control);
}

int HotKey(Context& ctx, const RadioGroup& g, int index, int step) {
    int n = index + step;
    if (n < 0) n = Count(g) - 1;
    if (n >= Count(g)) n = 0;
    SV(ctx, g, n);
    SetActive(ctx, g);
    return 0;
}

}  // namespace conf::radio
