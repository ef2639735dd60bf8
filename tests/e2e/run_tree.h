#pragma once
// A run-time tree of the test's own in the temporary folder (bin/, gui/, comports/),
// instrument-sim on a pseudo-terminal named in a COM folder, and the programs run from the
// command line without a display.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/child_process.h"
#include "../support/files.h"

namespace e2etest {

namespace fs = std::filesystem;

using conf_test::ReadFile;

// Whether `text` holds `part`; a failed expectation either way shows both.
inline ::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
    const bool found = text.find(part) != std::string::npos;
    return (found ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << (found ? "" : "no ") << '"' << part << "\" in:\n"
           << text;
}

// Starts instrument-sim with `args`, its log in `err`: the pseudo-terminal's path.
inline std::string RunSim(conf_test::Child& sim, std::vector<std::string> args,
                          const fs::path& comDir, const fs::path& err) {
    args.insert(args.begin(), INSTRUMENT_SIM_PATH);
    EXPECT_TRUE(sim.Spawn(args, comDir.string(), err.string()));
    const std::string pts = sim.FirstLine();
    EXPECT_EQ(pts.rfind("/dev/pts/", 0), 0u) << pts << "\n" << ReadFile(err);
    return pts;
}

// Starts the program at `path` with `args` in `dir`, in the background, with no display: a
// program that tried to open a window would abort.
inline bool SpawnHeadless(conf_test::Child& run, const std::string& path,
                          const std::vector<std::string>& args, const fs::path& dir,
                          const fs::path& comDir, const fs::path& err) {
    std::vector<std::string> argv{"/usr/bin/env",        "-C", dir.string(), "-u", "DISPLAY",
                                  "QT_QPA_PLATFORM=xcb", path};
    argv.insert(argv.end(), args.begin(), args.end());
    return run.Spawn(argv, comDir.string(), err.string());
}

// What a run from the command line left: its exit code (-1 when it had not ended in time), its
// standard output and its standard error.
struct Outcome {
    int code = -1;
    std::string out, err;
};

inline Outcome RunHeadless(const std::string& path, const std::vector<std::string>& args,
                           const fs::path& dir, const fs::path& comDir, const fs::path& err,
                           double seconds = 40.0) {
    conf_test::Child run;
    Outcome o;
    if (SpawnHeadless(run, path, args, dir, comDir, err)) {
        o.out = run.Rest(seconds);
        o.code = run.Wait(seconds);
    }
    o.err = ReadFile(err);
    return o;
}

// The tree in a fresh folder, bin/ the working directory.
class RunTree : public ::testing::Test, public conf_test::RunTree {
  protected:
    RunTree() : conf_test::RunTree({"*"}), root(root_), comDir(root_ / "comports") {
        fs::create_directories(comDir);
    }

    const fs::path root, comDir;
};

}  // namespace e2etest
