#pragma once
// Opening the event log in a text editor for the user.

#include <string>

#include "core/context.h"
#include "platform/sys/launch.h"

namespace conf {

// Starts the editor on path (the choice of editor as for Log::Launch); *program receives the
// name that was launched. Returns what the launcher returned.
int LaunchEditor(sys::Launcher& launcher, const std::string& path, std::string* program);
namespace Log {

// Closes the log so all of it is on disk, opens <working directory>/log.txt in an editor and
// reopens the log for appending. The editor is notepad2.exe when one is on PATH, else $VISUAL
// (program and leading arguments, split on spaces), else the desktop's opener. A failed
// launch is written to the log. Returns 0.
int Launch(Context& ctx);
}  // namespace Log

}  // namespace conf
