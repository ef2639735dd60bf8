#pragma once
// Installed, a program works in the user's run tree (see platform/sys/run_tree.h); from the
// build tree it stays where it was started.

#include <cstdio>
#include <string>

#include "platform/sys/run_tree.h"
#include "platform/ui/runtime.h"

// 0 to go on; -1 when the run tree cannot be made or entered, said on stderr and in a message
// box, since a program started from the desktop menu has no terminal.
inline int StartInRunTree(const char* program, ui::Runtime& runtime) {
    std::string runDir, error;
    if (sys::EnterRunTree(sys::SystemRunTreePlace(), &runDir, &error) != sys::kRunTreeFailed)
        return 0;
    const std::string text =
        std::string("Cannot prepare the folder for the suite's files: ") + error;
    std::fprintf(stderr, "%s: %s\n", program, text.c_str());
    runtime.MessagePopup(program, text);
    return -1;
}
