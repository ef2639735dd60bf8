#pragma once
// Fills the registry with every callback the configurator's panel resource names.

#include "core/context.h"
#include "platform/ui/callbacks.h"

namespace conf {

void RegisterCallbacks(Context& ctx, ui::CallbackRegistry& registry);

}  // namespace conf
