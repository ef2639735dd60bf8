#include "platform/serial/open_advice.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace serial {

namespace fs = std::filesystem;

namespace {

std::string OwnPath(const std::string& devicePath) {
    std::error_code ec;
    fs::path own = fs::weakly_canonical(devicePath, ec);
    return ec ? devicePath : own.string();
}

// Pseudo-terminals by name or by device number (Unix98 pty slaves have majors 136-143, the
// master multiplexer 5:2): the suite's simulator holds the other side of every one.
bool IsPseudoTerminalPath(const std::string& own) {
    if (own.rfind("/dev/pts/", 0) == 0 || own == "/dev/ptmx") return true;
    struct stat st {};
    if (stat(own.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned int m = major(st.st_rdev);
    return (m >= 136 && m <= 143) || (m == 5 && minor(st.st_rdev) == 2);
}

bool AllDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Programs known to open serial ports of their own accord.
bool IsKnownTaker(const std::string& name) {
    return name == "ModemManager" || name == "brltty";
}

// What to do about one program, by what it is known to do to serial ports.
std::string Remedy(const std::string& name) {
    if (name == "ModemManager")
        return "ModemManager probes new serial ports for modems; the package's udev rule keeps it "
               "off known RS-485 adapters, or stop it (sudo systemctl stop ModemManager)";
    if (name == "brltty")
        return "brltty takes over some USB serial chips for braille displays; without a braille "
               "display remove it (sudo apt remove brltty)";
    return "close that program";
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
        return found->gr_name;
    return std::to_string(gid);
}

}  // namespace

PortHolders FindPortHolders(const std::string& procRoot, const std::string& devicePath,
                            int selfPid) {
    PortHolders holders;
    const std::string own = OwnPath(devicePath);
    if (IsPseudoTerminalPath(own)) return holders;
    std::error_code ec;
    for (const fs::directory_entry& process : fs::directory_iterator(procRoot, ec)) {
        const std::string pidText = process.path().filename().string();
        if (!AllDigits(pidText) || pidText.size() > 9) continue;
        const int pid = std::atoi(pidText.c_str());
        if (pid == selfPid) continue;
        std::string name;
        std::ifstream comm(process.path() / "comm");
        std::getline(comm, name);
        if (name.empty()) name = "pid " + pidText;
        std::error_code fdEc;
        fs::directory_iterator fds(process.path() / "fd", fdEc);
        if (fdEc) {
            if (IsKnownTaker(name)) holders.unseen.push_back(PortHolder{pid, name});
            continue;
        }
        for (const fs::directory_entry& fd : fds) {
            std::error_code linkEc;
            if (fs::read_symlink(fd.path(), linkEc).string() == own && !linkEc) {
                holders.seen.push_back(PortHolder{pid, name});
                break;
            }
        }
    }
    for (auto* list : {&holders.seen, &holders.unseen})
        std::sort(list->begin(), list->end(),
                  [](const PortHolder& a, const PortHolder& b) { return a.pid < b.pid; });
    return holders;
}

std::string HolderNames(const std::vector<PortHolder>& holders) {
    std::string names;
    for (const PortHolder& h : holders) {
        if (!names.empty()) names += ", ";
        names += h.name + " (pid " + std::to_string(h.pid) + ")";
    }
    return names;
}

std::string HolderNote(const std::string& devicePath, const PortHolders& holders, bool busy) {
    const bool guess = busy && holders.seen.empty();
    const std::vector<PortHolder>& named = guess ? holders.unseen : holders.seen;
    if (named.empty()) return {};
    std::string note = OwnPath(devicePath);
    if (guess)
        note += " is in use by another program; " + HolderNames(named) +
                (named.size() == 1 ? " runs and may hold it" : " run and may hold it");
    else
        note += (busy ? " is in use by " : " is also open in ") + HolderNames(named) +
                (busy ? "" : ", which may take or garble the instrument's answers");
    // One remedy per kind of program.
    std::vector<std::string> said;
    for (const PortHolder& h : named) {
        std::string remedy = Remedy(h.name);
        if (std::find(said.begin(), said.end(), remedy) != said.end()) continue;
        note += (said.empty() ? ": " : "; ") + remedy;
        said.push_back(std::move(remedy));
    }
    return note;
}

std::string PermissionNote(const std::string& devicePath) {
    const std::string own = OwnPath(devicePath);
    struct stat st {};
    if (stat(own.c_str(), &st) != 0) return "Permission denied: " + own;
    const std::string group = GroupName(st.st_gid);
    if ((st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP))
        return "Permission denied: " + own + " belongs to group " + group +
               "; add your user to it (sudo usermod -aG " + group + " $USER) and log in again";
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return "Permission denied: " + own + " (group " + group + ", mode " + mode +
           ") may not be read and written even by its group; ask the administrator to give "
           "the group read and write access to it";
}

}  // namespace serial
