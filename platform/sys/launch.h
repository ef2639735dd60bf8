#pragma once
// Starting other programs: the sibling suite programs, the desktop's file opener and tools on
// PATH. Always by argument vector, never through a shell, so file names need no quoting and
// cannot be taken for commands.

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sys {

inline constexpr int kLaunchNotFound = -1;     // nothing executable goes by that name
inline constexpr int kLaunchSpawnFailed = -2;  // found, but the process could not be started

class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts program with args (argv[1] onwards) and returns without waiting for it: 0 when the
    // process started, kLaunchNotFound or kLaunchSpawnFailed when it did not.
    virtual int Launch(const std::string& program, const std::vector<std::string>& args) = 0;
};

// Decides which file runs for name; empty when there is none.
// - A name containing '/' is taken as it is, if it is an executable regular file.
// - A name of siblings with ".exe" appended ("Scan.exe", exact case) is one of the suite's own
//   programs, which the panels still call by their old Windows names: it resolves only to the
//   executable beside this program, programDir + "/" + the name without ".exe", never to
//   something on PATH.
// - Any other name, ".exe" or not, is looked up on pathEnv as given (see FindOnPath).
std::string ResolveProgram(const std::string& name, const std::string& programDir,
                           const std::string& pathEnv, const std::vector<std::string>& siblings);

// Searches the colon-separated directories of pathEnv in order for an executable regular file
// called name and stores the first one's path in *found (when found is not null). Empty entries
// are skipped rather than meaning the working directory. A name containing '/' is never found.
bool FindOnPath(const std::string& name, const std::string& pathEnv, std::string* found);

// Resolves against the directory of this executable and $PATH (siblings: the suite's programs,
// see ResolveProgram), then starts the program in its own session with stdin on /dev/null,
// stdout and stderr inherited. A helper thread reaps the child when it ends, so it never
// lingers as a zombie.
class SystemLauncher final : public Launcher {
  public:
    explicit SystemLauncher(std::vector<std::string> siblings) : siblings_(std::move(siblings)) {}
    int Launch(const std::string& program, const std::vector<std::string>& args) override;

  private:
    std::vector<std::string> siblings_;
};

// Opens a file or folder in the desktop's default application via xdg-open. Returns what
// launcher.Launch returned.
int OpenWithDesktop(Launcher& launcher, const std::string& fileOrFolder);

// A Launcher for tests of the programs: remembers every call and starts nothing.
class RecordingLauncher final : public Launcher {
  public:
    struct Call {
        std::string program;
        std::vector<std::string> args;
        bool operator==(const Call&) const = default;
    };

    // Records the call, then returns kLaunchNotFound for a program in missing, else result.
    int Launch(const std::string& program, const std::vector<std::string>& args) override;

    std::vector<Call> calls;
    int result = 0;
    std::set<std::string> missing;
};

}  // namespace sys
