#include "platform/sys/launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/sys/paths.h"

namespace sys {

namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// posix_spawn's option objects, destroyed on every return path.
class SpawnActions {
  public:
    SpawnActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions() {
        if (ok_) posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    bool ok() const { return ok_; }
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

class SpawnAttr {
  public:
    SpawnAttr() { ok_ = posix_spawnattr_init(&attr_) == 0; }
    ~SpawnAttr() {
        if (ok_) posix_spawnattr_destroy(&attr_);
    }
    SpawnAttr(const SpawnAttr&) = delete;
    SpawnAttr& operator=(const SpawnAttr&) = delete;
    bool ok() const { return ok_; }
    posix_spawnattr_t* get() { return &attr_; }

  private:
    posix_spawnattr_t attr_{};
    bool ok_ = false;
};

// The child gets its own session (a Ctrl-C meant for us does not reach it), an empty signal
// mask and default dispositions, whatever this process has blocked or ignored.
bool SetUpAttr(SpawnAttr& attr) {
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    short flags = POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    return posix_spawnattr_setflags(attr.get(), flags) == 0 &&
           posix_spawnattr_setsigmask(attr.get(), &none) == 0 &&
           posix_spawnattr_setsigdefault(attr.get(), &all) == 0;
}

void Reap(pid_t pid) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

std::string ResolveProgram(const std::string& name, const std::string& programDir,
                           const std::string& pathEnv, const std::vector<std::string>& siblings) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();

    constexpr std::string_view kExe = ".exe";
    if (name.ends_with(kExe)) {
        std::string stem = name.substr(0, name.size() - kExe.size());
        if (std::find(siblings.begin(), siblings.end(), stem) != siblings.end()) {
            if (programDir.empty()) return {};
            std::string sibling = JoinPath(programDir, stem);
            return IsExecutableFile(sibling) ? sibling : std::string();
        }
    }

    std::string found;
    return FindOnPath(name, pathEnv, &found) ? found : std::string();
}

bool FindOnPath(const std::string& name, const std::string& pathEnv, std::string* found) {
    if (name.empty() || name.find('/') != std::string::npos) return false;
    std::size_t start = 0;
    while (start <= pathEnv.size()) {
        std::size_t end = pathEnv.find(':', start);
        if (end == std::string::npos) end = pathEnv.size();
        std::string dir = pathEnv.substr(start, end - start);
        start = end + 1;
        if (dir.empty()) continue;
        std::string candidate = JoinPath(dir, name);
        if (IsExecutableFile(candidate)) {
            if (found != nullptr) *found = candidate;
            return true;
        }
    }
    return false;
}

int SystemLauncher::Launch(const std::string& program, const std::vector<std::string>& args) {
    const char* pathEnv = std::getenv("PATH");
    std::string path =
        ResolveProgram(program, ProgramDir(), pathEnv != nullptr ? pathEnv : "", siblings_);
    if (path.empty()) return kLaunchNotFound;

    // posix_spawn wants mutable char*; these copies outlive the call.
    std::vector<std::string> argStrings;
    argStrings.reserve(args.size() + 1);
    argStrings.push_back(path);
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(argStrings.size() + 1);
    for (std::string& s : argStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    SpawnActions actions;
    SpawnAttr attr;
    if (!actions.ok() || !attr.ok() || !SetUpAttr(attr) ||
        posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0) !=
            0) {
        return kLaunchSpawnFailed;
    }

    pid_t pid = 0;
    // glibc reports a failed exec here (and reaps that child itself).
    if (posix_spawn(&pid, path.c_str(), actions.get(), attr.get(), argv.data(), environ) != 0) {
        return kLaunchSpawnFailed;
    }

    try {
        std::thread(Reap, pid).detach();
    } catch (const std::system_error&) {
        // The program is running; without a reaper it stays a zombie until we exit. That is
        // better than reporting a failure for a program the user can see has started.
    }
    return 0;
}

int OpenWithDesktop(Launcher& launcher, const std::string& fileOrFolder) {
    return launcher.Launch("xdg-open", {fileOrFolder});
}

int RecordingLauncher::Launch(const std::string& program, const std::vector<std::string>& args) {
    calls.push_back(Call{program, args});
    if (missing.count(program) != 0) return kLaunchNotFound;
    return result;
}

}  // namespace sys
