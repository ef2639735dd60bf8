#pragma once
// What a technician can do about a serial device that another program holds, or that this
// user may not open: named from the device's owner group and from the processes that have
// it open.

#include <string>
#include <vector>

namespace serial {

// A process with the device open, as the system names it: comm "ModemManager", pid 812.
struct PortHolder {
    int pid = 0;
    std::string name;
};

// Who may hold a device, from <procRoot>: `seen` are the processes other than selfPid with a
// link in <procRoot>/<pid>/fd that leads to the device's own path (links followed); `unseen`
// the known takers of serial ports (ModemManager, brltty) whose open files this user may not
// read (they run as root). Both by pid, named from <procRoot>/<pid>/comm. Pseudo-terminals are
// never examined: nothing for /dev/pts/* and /dev/ptmx, and for links to them.
struct PortHolders {
    std::vector<PortHolder> seen;
    std::vector<PortHolder> unseen;
};
PortHolders FindPortHolders(const std::string& procRoot, const std::string& devicePath,
                            int selfPid);

// "ModemManager (pid 812), brltty (pid 455)".
std::string HolderNames(const std::vector<PortHolder>& holders);

// What to do about the holders, one sentence; empty when there is nothing to name. busy: the
// open was refused ("/dev/ttyUSB0 is in use by ModemManager (pid 812): ..."; with only unseen
// ones, "... is in use by another program; ModemManager (pid 812) runs and may hold it: ..."),
// else it went through with others on the line ("/dev/ttyUSB0 is also open in ...": seen
// ones only).
std::string HolderNote(const std::string& devicePath, const PortHolders& holders, bool busy);

// Why this user may not open devicePath and the remedy, from its owner group and mode:
// "Permission denied: /dev/ttyUSB0 belongs to group dialout; add your user to it (sudo
// usermod -aG dialout $USER) and log in again". A device its group may not use either is
// said with its mode. The path shown is the device's own (links followed).
std::string PermissionNote(const std::string& devicePath);

}  // namespace serial
