#pragma once
// What binds the Modbus core to a configurator: the trace into its log in the engine's layout,
// its message boxes and clock, and the session of each call with the station now on the main
// panel.

#include "core/context.h"
#include "link/session.h"
#include "log/trace_observer.h"

namespace conf {

// The configurator's observer: the trace, popups and waits on its panel runtime, the port's
// open record in its event log whatever the switches say.
TraceObserver ContextObserver(Context& ctx);

// The program's port, the station control's value as it is now, the answer time-out, the
// port's echo setting.
LinkSession SessionOf(Context& ctx);

}  // namespace conf
