#pragma once
// Start Scan: the configurator hands back to the scanner, which finds the next instrument.

#include "core/context.h"

namespace conf {

// Closes the program's window, starts "Scan.exe" and ends the program with exit code 0 (in
// ctx.exitCode; the event loop has been told to stop, so nothing runs after this callback).
// When the scanner cannot be started the log and a popup say so. Returns 0.
int evStart(Context& ctx, int menuBar, int item, void* data, int panel);
// The same from a button ("Scan Device"): commit hands back; Enter moves the focus on.
int evScanDev(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
