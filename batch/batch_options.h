#pragma once
// The command line of a run without a window: what to do, on which port, in which folder.
// Without any of these options the programs open their windows as before.

#include <string>
#include <vector>

#include "platform/serial/com_map.h"

namespace batch {

// Exit statuses of a run without a window.
inline constexpr int kExitDone = 0;
inline constexpr int kExitLink = 1;   // port or instrument not reached, transfer failed
inline constexpr int kExitUsage = 2;  // unknown option, missing argument, wrong combination
inline constexpr int kExitFile = 3;   // file refused, unreadable or not written
// The program's model descriptor does not hold together: 1, as the window program ends then.
inline constexpr int kExitModel = 1;

enum class Action { Window, Help, Version, Save, LoadWrite, Watch, Find };

struct Options {
    Action action = Action::Window;
    std::string port;  // as given; empty: the port of the settings file
    std::string workdir;
    std::string file;  // --save / --load, as given
    int seconds = 0;   // --watch
    bool record = false;
};

// Parses a configurator's arguments (Tarnel, Ombrel). 0, or -1 with *error saying what is
// wrong for a usage error.
int ParseConfiguratorArgs(const std::vector<std::string>& args, Options* out, std::string* error);
// The same for Scan: --find with --port and --workdir.
int ParseScanArgs(const std::vector<std::string>& args, Options* out, std::string* error);

// --help texts.
std::string ConfiguratorUsage(const std::string& program, const std::string& purpose);
std::string ScanUsage(const std::string& purpose);

// "COM7", "7" or a device path to a COM number. 0, or -1 with *error naming the port.
int ResolvePort(const std::string& port, const serial::ComMapEnv& env, int* com,
                std::string* error);

}  // namespace batch
