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

// The processes other than selfPid that have devicePath open: every <procRoot>/<pid>/fd/*
// link that leads to the device's own path (links followed), named from <procRoot>/<pid>/comm,
// by pid. Processes whose fd folder cannot be read (other users') are passed over.
// Pseudo-terminals are never examined: an empty list for /dev/pts/* and /dev/ptmx, and for
// links to them.
std::vector<PortHolder> FindPortHolders(const std::string& procRoot, const std::string& devicePath,
                                        int selfPid);

// "ModemManager (pid 812), brltty (pid 455)".
std::string HolderNames(const std::vector<PortHolder>& holders);

// What to do about the holders, one sentence; empty for an empty list. busy: the open was
// refused ("/dev/ttyUSB0 is in use by ModemManager (pid 812): ..."), else it went through
// with the others still on the line ("/dev/ttyUSB0 is also open in ...").
std::string HolderNote(const std::string& devicePath, const std::vector<PortHolder>& holders,
                       bool busy);

// Why this user may not open devicePath and the remedy, from its owner group and mode:
// "Permission denied: /dev/ttyUSB0 belongs to group dialout; add your user to it (sudo
// usermod -aG dialout $USER) and log in again". A device its group may not use either is
// said with its mode. The path shown is the device's own (links followed).
std::string PermissionNote(const std::string& devicePath);

}  // namespace serial
