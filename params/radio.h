#pragma once
// The radio-group parameter module: buttons of which exactly one is on; the raw value is the
// index of that button. A group with no button on reads as the button count.

#include "core/context.h"
#include "models/param_catalogue.h"
#include "params/locator.h"

namespace conf {

struct RadioGroup {
    int Context::*page;
    CtrlNames buttons;  // role names, by index
};

namespace radio {

int Count(const RadioGroup& g);
// 1 when index names one of the group's buttons, else 0.
int Holds(const RadioGroup& g, int index);
// The index of `control` in the group; the count when it is none of its buttons.
int who_am_I(Context& ctx, const RadioGroup& g, int panel, int control);
// Negative (loc->control 0) for an index outside the group.
int init(Context& ctx, const RadioGroup& g, int index, Locator* loc);
int Radio__SV(Context& ctx, const RadioGroup& g, int index, int on);
int Radio__GV(Context& ctx, const RadioGroup& g, int index);
// Every button off, then the one at index on (clamped to the group: below 0 the first,
// beyond the last the last).
int SV(Context& ctx, const RadioGroup& g, int index);
// The first button that is on; the count when none is.
int GV(Context& ctx, const RadioGroup& g);
// Keyboard focus to the selected button.
int SetActive(Context& ctx, const RadioGroup& g);
// Steps from index by step with wrap-around at both ends, selects and focuses the result.
int HotKey(Context& ctx, const RadioGroup& g, int index, int step);

}  // namespace radio

}  // namespace conf
