#pragma once
// Enter-key navigation: Enter in a control of one of the three orders moves the focus to the
// next control of that order that can take it, and from the last one to the wrap target.

#include <span>

#include "core/context.h"

namespace conf {

// Called by the callback of every control of the orders when Enter is pressed on it.
int fn_Tab_Next_Ctrl(Context& ctx, int panel, int control);
// Walks `order` (control ids of `panel`) from `control`; dimmed and hidden controls refuse
// the focus and are skipped. The result of the last focus attempt is left in gr.
int fn_Tab_Next_Ctrl_Engine(Context& ctx, std::span<const int> order, int panel, int control,
                            int wrapPanel, int wrapControl);

// The Enter-key step every control callback of the orders begins with.
int fn_Enter_to_Next(Context& ctx, int panel, int control, int event, int key);

}  // namespace conf
