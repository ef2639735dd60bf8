#pragma once
// What binds the Modbus core to Scan: the trace in Scan's layout into its log, its message
// boxes and clock, and the session for the station of the next request.

#include "link/session.h"
#include "log/trace_observer.h"
#include "scan/scan_context.h"

namespace scan {

// Scan's observer: the trace, popups and waits on its panel runtime, the port's open record in
// its log whatever the switches say.
conf::TraceObserver ScanObserver(ScanContext& ctx);

// Scan's port, the station gvIDd, the answer time-out.
conf::LinkSession SessionOf(ScanContext& ctx);

}  // namespace scan
