#include "platform/serial/com_map.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace serial {
namespace {

struct DefaultRange {
    const char* prefix;
    int firstCom;
};

// Each range covers 32 COM numbers, device index 0..31.
constexpr DefaultRange kDefaultRanges[] = {
    {"/dev/ttyS", 1},
    {"/dev/ttyUSB", 33},
    {"/dev/ttyACM", 65},
};
constexpr int kRangeSize = 32;

std::string FolderEntry(int comNumber, const ComMapEnv& env) {
    if (env.comportsDir.empty()) return {};
    std::string path = env.comportsDir;
    if (path.back() != '/') path += '/';
    return path + "COM" + std::to_string(comNumber);
}

bool InFolder(const std::string& entry, const ComMapEnv& env) {
    if (entry.empty()) return false;
    return env.exists ? env.exists(entry) : EntryExists(entry);
}

// COM number by the default rule for a literal /dev/ttyXXn path, 0 if it is none of them.
int DefaultNumberOf(const std::string& path) {
    for (const DefaultRange& range : kDefaultRanges) {
        std::string prefix = range.prefix;
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
        std::string digits = path.substr(prefix.size());
        if (digits.size() > 2 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (digits.size() == 2 && digits[0] == '0') continue;
        int index = std::stoi(digits);
        if (index < kRangeSize) return range.firstCom + index;
    }
    return 0;
}

// The file a path finally names; the path itself when it cannot be resolved.
std::string Resolved(const std::string& path) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::canonical(path, ec);
    return ec ? path : p.string();
}

}  // namespace

std::string DefaultComportsDir() {
    const char* dir = std::getenv("COMPORTS_DIR");
    if (dir != nullptr && *dir != '\0') return dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg != '\0') return std::string(xdg) + "/comports";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home) + "/.config/comports";
    return {};
}

bool EntryExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

ComMapEnv SystemComMapEnv() {
    return ComMapEnv{DefaultComportsDir(), EntryExists};
}

std::string ComDevicePath(int comNumber, const ComMapEnv& env) {
    if (comNumber < 1 || comNumber > kMaxComNumber) return {};
    std::string entry = FolderEntry(comNumber, env);
    if (InFolder(entry, env)) return entry;
    for (const DefaultRange& range : kDefaultRanges) {
        int index = comNumber - range.firstCom;
        if (index >= 0 && index < kRangeSize) return range.prefix + std::to_string(index);
    }
    return {};
}

std::string ComConfigPath(int comNumber, const ComMapEnv& env) {
    if (comNumber < 1 || comNumber > kMaxComNumber) return {};
    const std::string entry = FolderEntry(comNumber, env);
    return entry.empty() ? std::string() : entry + ".conf";
}

int ComNumberOfDevice(const std::string& devicePath, const ComMapEnv& env) {
    if (devicePath.empty()) return 0;
    const std::string target = Resolved(devicePath);
    if (!env.comportsDir.empty()) {
        for (int n = 1; n <= kMaxComNumber; ++n) {
            std::string entry = FolderEntry(n, env);
            if (!InFolder(entry, env)) continue;
            if (entry == devicePath || Resolved(entry) == target) return n;
        }
    }
    int n = DefaultNumberOf(devicePath);
    if (n == 0) n = DefaultNumberOf(target);
    if (n != 0 && InFolder(FolderEntry(n, env), env)) return 0;  // the folder gave n away
    return n;
}

}  // namespace serial
