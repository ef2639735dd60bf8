#pragma once
// Fills the registry with every callback the configurator's panel resource names.

#include "core/context.h"
#include "platform/ui/callbacks.h"

namespace conf {

// 0, or -1 when the model names a function the program does not have (reported on stderr).
int RegisterCallbacks(Context& ctx, ui::CallbackRegistry& registry);

}  // namespace conf
