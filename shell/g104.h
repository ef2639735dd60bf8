#pragma once
// The configurator's entry: start-up, the main panel's own callback, Exit, About, shutdown.

#include <string>

#include "core/context.h"

namespace conf {

inline constexpr const char* kVersion104 = "Ver.2013-05-28-A";
inline constexpr const char* kPanelFile104 = "../gui/G104.json";

// Start-up in its fixed order. 0, or negative when the main panel cannot be loaded (the
// program cannot run without it; the reason is in the log and on stderr).
int mf_G104__init(Context& ctx);
// Leaves the event loop and discards the main panel.
int mf_G104__exit(Context& ctx);
// Start-up, the event loop, shutdown: the whole life of the program. Exit code: 0, the one
// a command ended the program with, or 1 when the main panel cannot be loaded.
int Run104(Context& ctx);

int evG104(Context& ctx, int panel, int event, void* data, int data1, int data2);
int evExit(Context& ctx, int menuBar, int item, void* data, int panel);
int evAbout(Context& ctx, int menuBar, int item, void* data, int panel);
int evForm104(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

int mf_104_About_menu__init(Context& ctx, int* menuBar, int* item);
int mf_104_About_menu__SV(Context& ctx, const std::string& text);

}  // namespace conf
