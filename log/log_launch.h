#pragma once
// Opening the event log in a text editor for the user.

#include "core/context.h"

namespace conf {
namespace Log {

// Closes the log so all of it is on disk, opens <working directory>/log.txt in an editor and
// reopens the log for appending. The editor is notepad2.exe when one is on PATH, else $VISUAL
// (program and leading arguments, split on spaces), else the desktop's opener. A failed
// launch is written to the log. Returns 0.
int Launch(Context& ctx);
}  // namespace Log

}  // namespace conf
