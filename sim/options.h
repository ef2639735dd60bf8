#pragma once
// The command line of instrument-sim.

#include <string>
#include <vector>

#include "sim/config.h"
#include "sim/fault.h"
#include "sim/net_line.h"

namespace sim {

struct ProgramOptions {
    InstrumentConfig instrument;
    int com = 0;         // COM number to place in the COM folder; 0 for none
    bool force = false;  // take over a COM link that names another device
    std::string device;  // a serial device to serve; empty for a new pseudo-terminal
    bool log = false;    // every request to stderr
    std::vector<Fault> faults;
    bool help = false;
    // Served on the network instead: the protocol, its port (0: any free one), the device
    // server's serial settings (the instrument's own unless --gateway gives others) and the
    // network's delay in seconds.
    NetProtocol listen = NetProtocol::kNone;
    int listenPort = 0;
    serial::LineSettings gateway;
    double netDelay = 0.0;
};

// args without the program name; "--name value" and "--name=value" both work. 0, or -1 with
// the reason in *error.
int ParseOptions(const std::vector<std::string>& args, ProgramOptions* out, std::string* error);

std::string UsageText();

}  // namespace sim
