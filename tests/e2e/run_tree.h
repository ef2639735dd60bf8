#pragma once
// A run-time tree of the test's own in the temporary folder (bin/, gui/, comports/), and
// instrument-sim on a pseudo-terminal named in a COM folder.

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../support/child_process.h"

namespace e2etest {

namespace fs = std::filesystem;

inline std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Starts instrument-sim with `args`, its log in `err`: the pseudo-terminal's path.
inline std::string RunSim(conf_test::Child& sim, std::vector<std::string> args,
                          const fs::path& comDir, const fs::path& err) {
    args.insert(args.begin(), INSTRUMENT_SIM_PATH);
    EXPECT_TRUE(sim.Spawn(args, comDir.string(), err.string()));
    const std::string pts = sim.FirstLine();
    EXPECT_EQ(pts.rfind("/dev/pts/", 0), 0u) << pts << "\n" << Slurp(err);
    return pts;
}

class RunTree : public ::testing::Test {
  protected:
    explicit RunTree(const std::string& name)
        : root(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()))),
          comDir(root / "comports") {
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(comDir);
        fs::copy(SUITE_GUI_SOURCE_DIR, root / "gui");
    }
    ~RunTree() override { fs::remove_all(root); }

    const fs::path root, comDir;
};

}  // namespace e2etest
