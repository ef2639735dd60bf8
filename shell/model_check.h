#pragma once
// The start-up check of the model descriptor a configurator serves: a descriptor that does not
// hold together stops the program with one message before any window shows.

#include <string>

#include "core/context.h"
#include "platform/ui/callbacks.h"

namespace conf {

namespace Model_Check {

// The descriptor's own invariants and its callback names against the program's functions.
// 0, or -1 with the message.
int Descriptor(const Model& model, std::string* message);
// Its focus orders against the controls of its panel resource, loaded for the check and
// discarded again (the callbacks must be registered). 0 also when the resource does not load:
// the start-up reports that itself.
int Panel(Context& ctx, std::string* message);
// The message on stderr and in a popup.
void Report(Context& ctx, const std::string& message);
}  // namespace Model_Check

// The window program once its front end exists: the checks, the callbacks, then
// RunConfigurator. 1 after a failed check, reported.
int RunCheckedConfigurator(Context& ctx, ui::CallbackRegistry& registry);

}  // namespace conf
