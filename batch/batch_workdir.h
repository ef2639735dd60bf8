#pragma once
// The working folder and the port settings of a run without a window.

#include <string>

#include "platform/serial/com_map.h"
#include "platform/ui/runtime.h"

namespace batch {

// Makes `dir` (absolute; empty: stay where the program already works) and enters it; the
// panels are read beside the program's own folder in the build tree, through the run tree
// when installed, whatever the working folder. 0, or -1 with *error naming the folder.
int EnterWorkdir(const std::string& dir, ui::Runtime& runtime, std::string* error);

// Results of PreparePortSettings besides 0.
inline constexpr int kPortUnknown = -1;  // no port given and none in the settings file
inline constexpr int kSettingsNotWritten = -2;

// Makes the settings file of the working folder name `port`: kept when it already names that
// port with sound line settings, else written with the fixed settings Scan leaves an
// instrument at (station 1, 19200 baud, 8N2). An empty `port` keeps the file, which must then
// be readable. 0, or one of the results above with *error saying what.
int PreparePortSettings(const std::string& port, const serial::ComMapEnv& env, std::string* error);

}  // namespace batch
