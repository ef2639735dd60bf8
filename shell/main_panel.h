#pragma once
// The configurator's entry: start-up, the main panel's own callback, Exit, About, shutdown.

#include <string>

#include "core/context.h"

namespace conf {

namespace MainPanel {

// Start-up in its fixed order. 0, or negative when the main panel cannot be loaded (the
// program cannot run without it; the reason is in the log and on stderr).
int init(Context& ctx);
// Leaves the event loop and discards the main panel.
int exit(Context& ctx);
}  // namespace MainPanel
// Start-up, the event loop, shutdown: the whole life of the program. Exit code: 0, the one
// a command ended the program with, or 1 when the main panel cannot be loaded.
int RunConfigurator(Context& ctx);

int evMain(Context& ctx, int panel, int event, void* data, int data1, int data2);
int evExit(Context& ctx, int menuBar, int item, void* data, int panel);
int evAbout(Context& ctx, int menuBar, int item, void* data, int panel);
int evForm(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
namespace About_menu {

int init(Context& ctx, int* menuBar, int* item);
int SV(Context& ctx, const std::string& text);
}  // namespace About_menu

}  // namespace conf
