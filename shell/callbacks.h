#pragma once
// Fills the registry with every callback the configurator's panel resource names.

#include <set>
#include <string>

#include "core/context.h"
#include "platform/ui/callbacks.h"

namespace conf {

// 0, or -1 when the model names a function the program does not have (reported on stderr).
int RegisterCallbacks(Context& ctx, ui::CallbackRegistry& registry);
// The names of the program functions a model's callback table can name.
std::set<std::string> SharedCallbackNames();

}  // namespace conf
