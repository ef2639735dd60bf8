#pragma once
// Scan's frame: start-up, shutdown, the main panel's keys, the menus and the callbacks its
// panel resource names.

#include "platform/ui/callbacks.h"
#include "scan/scan_context.h"

namespace scan {

inline constexpr const char* kVersionCaption = "Ver.2013-05-28-A";

// Start-up: log switches, an empty log, the panel, the version caption, the language, the
// panel shown with Auto Scan active, the port discovery, then the port watch's timer when the
// context has a watch. 0, or the runtime's negative error
// when the panel cannot be loaded (reported in the log and on stderr).
int G1__init(ScanContext& ctx);
// Ends the event loop, discards the main panel and closes the log. Returns 0.
int G1__exit(ScanContext& ctx);

// Main panel: close box and ` end the program, Ctrl+O opens the log in the editor, Ctrl+X
// empties it.
int evG1(ScanContext& ctx, int panel, int event, void* data, int data1, int data2);
int evExit1(ScanContext& ctx, int menuBar, int item, void* data, int panel);
// A language item: check it, store it, switch the character set and relabel.
int evLang1(ScanContext& ctx, int menuBar, int item, void* data, int panel);
// The status-id control: shows the message of the id it holds.
int evTN1(ScanContext& ctx, int panel, int control, int event, void* data, int data1, int data2);

// Registers every callback G1.json names under its name.
void RegisterCallbacks(ScanContext& ctx, ui::CallbackRegistry& registry);
// G1__init, then the event loop. 0, or 1 when start-up failed.
int RunScan(ScanContext& ctx);

}  // namespace scan
