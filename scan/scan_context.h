#pragma once
// What Scan keeps program-wide, in one object per run. Scan serves no instrument model, so it
// has a context of its own rather than the configurators' conf::Context; it shares the log
// stream type and the serial and panel layers with them.

#include <sstream>
#include <string>

#include "link/session.h"
#include "platform/serial/enumerate.h"
#include "platform/serial/port_watch.h"
#include "platform/serial/rs232.h"
#include "platform/sys/launch.h"
#include "platform/sys/log_stream.h"
#include "platform/ui/runtime.h"

namespace scan {

// The one logical port every exchange and every open test goes through (P222 in the trace).
using conf::kPort222;

struct ScanContext {
    ScanContext(ui::Runtime& runtime, sys::Launcher& programLauncher, serial::Rs232& ports,
                serial::DeviceLister& deviceLister)
        : ui(runtime), launcher(programLauncher), com(ports), devices(deviceLister) {}

    ui::Runtime& ui;
    sys::Launcher& launcher;
    serial::Rs232& com;
    // Where the device list of the port discovery comes from.
    serial::DeviceLister& devices;
    // Ports coming and going, for the port list while no sweep runs; null for none (not owned).
    serial::PortWatch* portWatch = nullptr;

    // Event log "log.txt" and its switches, kept as read from "YN_log_dbg.txt".
    sys::LogStream gpLog;
    int gvLogYN = 0;
    int gvdbgYN = 0;

    int gr = 0;        // result of the last port or Modbus operation
    int gvG1 = 0;      // main panel
    int gvtpScan = 0;  // the scan page (tab page 0)
    int gvCOMx = 0;    // COM number of the port in use
    int gvIDd = 1;     // station number put into every request (0 broadcasts)
    int gvLANG = 0;    // 0 English, 1 Traditional Chinese (Big5), 2 Simplified Chinese (GB2312)
    // "COM__Exist.txt" as read when a sweep starts: the ports still to be probed. Not good()
    // when no sweep has it open.
    std::istringstream gpCOMx;
};

// Panel resource and the names of its panel and controls.
inline constexpr const char* kG1Resource = "../gui/G1.json";
inline constexpr const char* kG1Panel = "G1";

}  // namespace scan
