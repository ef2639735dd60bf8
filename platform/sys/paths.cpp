#include "platform/sys/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace sys {

// Grows the buffer until the target fits, since readlink truncates silently.
std::string ReadLink(const std::string& path) {
    std::string buf(256, '\0');
    for (;;) {
        ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ProgramDir() {
    std::string exe = ReadLink("/proc/self/exe");
    std::size_t slash = exe.rfind('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return exe.substr(0, slash);
}

std::string FullPathBesideProgram(const std::string& fileName) {
    return JoinPath(ProgramDir(), fileName);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string CurrentDir() {
    std::string buf(256, '\0');
    for (;;) {
        if (getcwd(buf.data(), buf.size()) != nullptr) {
            buf.resize(buf.find('\0'));
            return buf;
        }
        if (errno != ERANGE) return {};
        buf.assign(buf.size() * 2, '\0');
    }
}

int ChangeDir(const std::string& dir) {
    return chdir(dir.c_str()) == 0 ? 0 : -1;
}

int MakeDir(const std::string& dir) {
    if (mkdir(dir.c_str(), 0777) == 0) return kMakeDirCreated;
    if (errno != EEXIST) return kMakeDirFailed;
    struct stat st {};
    if (stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return kMakeDirExisted;
    return kMakeDirNotADirectory;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

}  // namespace sys
