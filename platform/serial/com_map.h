#pragma once
// COM numbers, as the programs and their settings files name ports, and the Linux devices
// behind them. A link COM<n> in the comports folder names any device for any number;
// without one, COM1-32 are /dev/ttyS0-31, COM33-64 /dev/ttyUSB0-31, COM65-96 /dev/ttyACM0-31.

#include <functional>
#include <string>

namespace serial {

inline constexpr int kMaxComNumber = 256;

struct ComMapEnv {
    std::string comportsDir;  // resolved folder of COM<n> links; empty for none
    // Whether the folder entry at this path exists. Empty means EntryExists.
    std::function<bool(const std::string&)> exists;
};

// $COMPORTS_DIR when set, else $XDG_CONFIG_HOME/comports, else $HOME/.config/comports; empty
// when none of them is set.
std::string DefaultComportsDir();

// True when there is a directory entry at path, a dangling link included: an unplugged
// adapter's link keeps its COM number, so opening it reports the missing device instead of
// falling back to some other port.
bool EntryExists(const std::string& path);

// DefaultComportsDir() with EntryExists.
ComMapEnv SystemComMapEnv();

// The device path for COM<comNumber>: <dir>/COM<n> when that entry exists, else the default
// rule above. Empty for numbers outside 1..256 and for numbers above 96 with no link.
std::string ComDevicePath(int comNumber, const ComMapEnv& env);

// <dir>/COM<n>.conf, the port's own settings (port_config.h), whether or not COM<n> has a
// link; empty without a folder and for numbers outside 1..256.
std::string ComConfigPath(int comNumber, const ComMapEnv& env);

// The COM number whose ComDevicePath reaches devicePath: a folder link resolving to the same
// file first, then the default rule (unless the folder has taken that number for another
// device). 0 when there is none.
int ComNumberOfDevice(const std::string& devicePath, const ComMapEnv& env);

}  // namespace serial
