#include "platform/sys/run_tree.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/sys/paths.h"

namespace sys {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string Canonical(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string out = real;
    std::free(real);
    return out;
}

// mkdir -p: every missing level of an absolute path.
int MakeDirs(const std::string& dir, std::string* error) {
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/') continue;
        const std::string level = dir.substr(0, pos);
        const int r = MakeDir(level);
        if (r == kMakeDirCreated || r == kMakeDirExisted) continue;
        *error = "cannot make folder " + level + ": " +
                 (r == kMakeDirNotADirectory ? std::string("something else is there")
                                             : std::string(std::strerror(errno)));
        return -1;
    }
    return 0;
}

int LinkGui(const std::string& link, const std::string& target, std::string* error) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) return 0;  // the user's own folder
        if (ReadLink(link) == target) return 0;
        if (unlink(link.c_str()) != 0) {
            *error = "cannot replace link " + link + ": " + std::strerror(errno);
            return -1;
        }
    }
    if (symlink(target.c_str(), link.c_str()) != 0) {
        *error = "cannot link " + link + " to " + target + ": " + std::strerror(errno);
        return -1;
    }
    return 0;
}

}  // namespace

RunTreePlace SystemRunTreePlace() {
    return RunTreePlace{ProgramDir(), Env("XDG_DATA_HOME"), Env("HOME")};
}

std::string InstalledGuiDir(const std::string& programDir) {
    if (programDir.empty()) return {};
    const std::string gui =
        JoinPath(programDir, std::string("../../share/") + kSuiteFolderName + "/gui");
    return IsDirectory(gui) ? Canonical(gui) : std::string();
}

std::string UserRunTreeRoot(const RunTreePlace& place) {
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (!place.xdgDataHome.empty() && place.xdgDataHome[0] == '/')
        return JoinPath(place.xdgDataHome, kSuiteFolderName);
    if (!place.home.empty() && place.home[0] == '/')
        return JoinPath(place.home, std::string(".local/share/") + kSuiteFolderName);
    return {};
}

int EnterRunTree(const RunTreePlace& place, std::string* runDir, std::string* error) {
    if (IsDirectory(JoinPath(place.programDir, "../gui"))) return kRunTreeAsIs;
    const std::string gui = InstalledGuiDir(place.programDir);
    if (gui.empty()) return kRunTreeAsIs;
    const std::string root = UserRunTreeRoot(place);
    if (root.empty()) {
        *error = "neither XDG_DATA_HOME nor HOME names a folder for the suite's files";
        return kRunTreeFailed;
    }
    const std::string bin = JoinPath(root, "bin");
    for (const char* sub : {"bin", "ParameterFile", "PV Record"}) {
        if (MakeDirs(JoinPath(root, sub), error) < 0) return kRunTreeFailed;
    }
    if (LinkGui(JoinPath(root, "gui"), gui, error) < 0) return kRunTreeFailed;
    if (ChangeDir(bin) < 0) {
        *error = "cannot enter " + bin + ": " + std::strerror(errno);
        return kRunTreeFailed;
    }
    *runDir = bin;
    return kRunTreeEntered;
}

}  // namespace sys
