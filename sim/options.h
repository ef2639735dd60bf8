#pragma once
// The command line of instrument-sim.

#include <string>
#include <vector>

#include "sim/config.h"
#include "sim/fault.h"

namespace sim {

struct ProgramOptions {
    InstrumentConfig instrument;
    int com = 0;         // COM number to place in the COM folder; 0 for none
    bool force = false;  // take over a COM link that names another device
    std::string device;  // a serial device to serve; empty for a new pseudo-terminal
    bool log = false;    // every request to stderr
    std::vector<Fault> faults;
    bool help = false;
};

// args without the program name; "--name value" and "--name=value" both work. 0, or -1 with
// the reason in *error.
int ParseOptions(const std::vector<std::string>& args, ProgramOptions* out, std::string* error);

std::string UsageText();

}  // namespace sim
