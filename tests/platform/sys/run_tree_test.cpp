#include "platform/sys/run_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/sys/paths.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using sys_test::TempDir;

// Every test enters folders; the next one starts where this one did.
class RunTreeTest : public ::testing::Test {
  protected:
    RunTreeTest() : before_(sys::CurrentDir()) {}
    ~RunTreeTest() override { (void)sys::ChangeDir(before_); }

    // <tmp>/usr/lib/rtu-configurator with <tmp>/usr/share/rtu-configurator/gui beside it.
    std::string Installed() {
        fs::create_directories(tmp_.Sub("usr/lib/rtu-configurator"));
        fs::create_directories(tmp_.Sub("usr/share/rtu-configurator/gui"));
        sys_test::WriteFile(tmp_.Sub("usr/share/rtu-configurator/gui/G1.json"), "{}");
        return tmp_.Sub("usr/lib/rtu-configurator");
    }

    std::string before_;
    TempDir tmp_;
    std::string runDir_, error_;
};

TEST_F(RunTreeTest, BuildTreeAndUnknownPlacesRunAsTheyAre) {
    fs::create_directories(tmp_.Sub("build/bin"));
    fs::create_directories(tmp_.Sub("build/gui"));
    const sys::RunTreePlace build{tmp_.Sub("build/bin"), tmp_.Sub("data"), tmp_.Sub("home")};
    EXPECT_EQ(sys::EnterRunTree(build, &runDir_, &error_), sys::kRunTreeAsIs);
    const sys::RunTreePlace loose{tmp_.Sub("loose"), tmp_.Sub("data"), tmp_.Sub("home")};
    EXPECT_EQ(sys::EnterRunTree(loose, &runDir_, &error_), sys::kRunTreeAsIs);
    EXPECT_EQ(sys::CurrentDir(), before_);
    EXPECT_FALSE(fs::exists(tmp_.Sub("data")));
    EXPECT_TRUE(runDir_.empty());
}

TEST_F(RunTreeTest, InstalledMakesTheUsersTreeOnceAndEntersItsBin) {
    const sys::RunTreePlace place{Installed(), tmp_.Sub("data"), tmp_.Sub("home")};
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    const std::string root = tmp_.Sub("data/rtu-configurator");
    EXPECT_EQ(runDir_, root + "/bin");
    EXPECT_EQ(sys::CurrentDir(), root + "/bin");
    EXPECT_TRUE(fs::is_directory(root + "/ParameterFile"));
    EXPECT_TRUE(fs::is_directory(root + "/PV Record"));
    EXPECT_TRUE(fs::is_symlink(root + "/gui"));
    EXPECT_EQ(fs::read_symlink(root + "/gui").string(), tmp_.Sub("usr/share/rtu-configurator/gui"));
    // The programs' relative paths reach the installed panels.
    EXPECT_TRUE(fs::exists("../gui/G1.json"));

    // A second start keeps what the user has made.
    sys_test::WriteFile(root + "/ParameterFile/mine.txt", "kept");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    EXPECT_TRUE(fs::exists(root + "/ParameterFile/mine.txt"));
}

TEST_F(RunTreeTest, HomeServesWhenXdgDataHomeIsUnsetOrRelative) {
    const std::string prog = Installed();
    for (const std::string xdg : {"", "relative/data"}) {
        const sys::RunTreePlace place{prog, xdg, tmp_.Sub("home")};
        ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
        EXPECT_EQ(runDir_, tmp_.Sub("home/.local/share/rtu-configurator/bin"));
    }
    const sys::RunTreePlace nowhere{prog, "", ""};
    EXPECT_EQ(sys::EnterRunTree(nowhere, &runDir_, &error_), sys::kRunTreeFailed);
    EXPECT_EQ(error_, "neither XDG_DATA_HOME nor HOME names a folder for the suite's files");
}

TEST_F(RunTreeTest, AnOldInstallsLinkMovesAUsersOwnGuiFolderStays) {
    const sys::RunTreePlace place{Installed(), tmp_.Sub("data"), ""};
    const std::string root = tmp_.Sub("data/rtu-configurator");
    sys_test::Symlink("/nonexistent/share/gui", root + "/gui");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    EXPECT_EQ(fs::read_symlink(root + "/gui").string(), tmp_.Sub("usr/share/rtu-configurator/gui"));

    fs::remove(root + "/gui");
    sys_test::WriteFile(root + "/gui/G1.json", "mine");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    EXPECT_FALSE(fs::is_symlink(root + "/gui"));
}

TEST_F(RunTreeTest, AFileInTheWayFailsNamingIt) {
    const sys::RunTreePlace place{Installed(), tmp_.Sub("data"), ""};
    sys_test::WriteFile(tmp_.Sub("data/rtu-configurator/bin"), "not a folder");
    EXPECT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeFailed);
    EXPECT_EQ(error_, "cannot make folder " + tmp_.Sub("data/rtu-configurator/bin") +
                          ": something else is there");
    EXPECT_EQ(sys::CurrentDir(), before_);
}

}  // namespace
