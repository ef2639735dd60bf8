// Paths beside the program, the lookup of the programs a program starts, the system launcher,
// and the run-time tree an installed program makes for its user and enters.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sys/launch.h"
#include "platform/sys/paths.h"
#include "platform/sys/run_tree.h"
#include "tests/platform/sys/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kSuite = {"Scan", "Tarnel", "Ombrel"};

std::string ResolveProgram(const std::string& name, const std::string& dir,
                           const std::string& pathEnv) {
    return sys::ResolveProgram(name, dir, pathEnv, kSuite);
}

// A program directory and two PATH directories of fake executables: the suite's programs only
// from beside us, PATH searched in order for the first executable file, and the working
// directory never searched.
TEST(Resolve, SuiteProgramsBesideUsOthersOnPathNeverFromTheWorkingDirectory) {
    sys_test::TempDir tmp;
    const std::string prog = tmp.Sub("prog"), bin1 = tmp.Sub("bin1"), bin2 = tmp.Sub("bin2");
    const std::string path = bin1 + ":" + bin2;
    for (const std::string& dir : {prog, bin1, bin2})
        ASSERT_EQ(sys::MakeDir(dir), 0);
    const auto Exe = [](std::initializer_list<std::string> files, mode_t mode = 0755) {
        for (const std::string& file : files)
            sys_test::WriteFile(file, "#!/bin/true\n", mode);
    };
    const auto NonExe = [&](const std::string& file) { Exe({file}, 0644); };

    NonExe(prog + "/Tarnel");
    Exe({prog + "/Scan", prog + "/ScanX", bin1 + "/Tarnel", bin1 + "/Ombrel.exe",
         bin2 + "/scan.exe", bin2 + "/Scan"});
    EXPECT_EQ(ResolveProgram("Scan.exe", prog, path), prog + "/Scan");
    EXPECT_EQ(ResolveProgram("Scan.exe", prog + "/", path), prog + "/Scan");
    EXPECT_EQ(ResolveProgram("Scan.exe", "", path), "");
    EXPECT_EQ(ResolveProgram("Tarnel.exe", prog, path), "");
    EXPECT_EQ(ResolveProgram("Ombrel.exe", prog, path), "");
    // The siblings are the ones the program names: another name is a PATH name.
    EXPECT_EQ(sys::ResolveProgram("Ombrel.exe", prog, path, {"Scan"}), bin1 + "/Ombrel.exe");
    // Anything else is a PATH name, exactly as written.
    EXPECT_EQ(ResolveProgram("scan.exe", prog, path), bin2 + "/scan.exe");
    EXPECT_EQ(ResolveProgram("Scan", prog, path), bin2 + "/Scan");
    EXPECT_EQ(ResolveProgram("ScanX.exe", prog, path), "");

    // PATH: the first executable file.
    NonExe(bin1 + "/tool");
    ASSERT_EQ(sys::MakeDir(bin1 + "/dir"), 0);
    Exe({bin2 + "/tool", bin2 + "/dir"});
    EXPECT_EQ(ResolveProgram("tool", prog, path), bin2 + "/tool");
    EXPECT_EQ(ResolveProgram("dir", prog, path), bin2 + "/dir");
    EXPECT_EQ(ResolveProgram("tool", prog, ":" + bin1 + "::" + bin2 + "/"), bin2 + "/tool");
    Exe({bin1 + "/tool"});
    EXPECT_EQ(ResolveProgram("tool", prog, path), bin1 + "/tool");
    EXPECT_EQ(ResolveProgram("tool", prog, ""), "");
    EXPECT_EQ(ResolveProgram("absent", prog, path), "");
    EXPECT_EQ(ResolveProgram("", prog, path), "");

    std::string found = "untouched";
    EXPECT_FALSE(sys::FindOnPath("absent", path, &found));
    EXPECT_EQ(found, "untouched");
    EXPECT_TRUE(sys::FindOnPath("tool", path, nullptr));

    // No lookup in the working directory, except for explicit paths.
    sys_test::CwdGuard guard;
    ASSERT_EQ(sys::ChangeDir(tmp.path()), 0);
    Exe({tmp.Sub("here")});
    NonExe(bin1 + "/data");
    EXPECT_EQ(ResolveProgram("here", prog, bin1 + "::"), "");
    EXPECT_FALSE(sys::FindOnPath("bin1/tool", tmp.path(), nullptr));
    EXPECT_EQ(ResolveProgram("./here", prog, ""), "./here");
    EXPECT_EQ(ResolveProgram(bin1 + "/tool", prog, ""), bin1 + "/tool");
    EXPECT_EQ(ResolveProgram(bin1 + "/data", prog, bin1), "");
}

// Polls for up to two seconds; these tests wait on real processes.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

// Whether this test has no child process left, a zombie included (looked at, not reaped).
bool NoChildren() {
    siginfo_t info{};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

TEST(SystemLauncher, PassesArgumentsLiterallyWithStdinOnDevNullReapsAndReportsFailures) {
    sys_test::TempDir tmp;
    // A shell would split, expand or run parts of this.
    std::string target = tmp.Sub("it's a \"name\"; $(touch x) `y` & *.txt");
    sys::SystemLauncher launcher(kSuite);
    ASSERT_EQ(launcher.Launch("touch", {target}), 0);
    EXPECT_TRUE(WaitFor([&] { return sys::FileExists(target); }));
    EXPECT_FALSE(sys::FileExists(tmp.Sub("x")));
    // cp -P copies the child's own fd 0 link, so the copy names what its stdin was.
    std::string link = tmp.Sub("stdin");
    ASSERT_EQ(launcher.Launch("cp", {"-P", "/proc/self/fd/0", link}), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::is_symlink(link); }));
    EXPECT_EQ(fs::read_symlink(link).string(), "/dev/null");
    EXPECT_TRUE(WaitFor(NoChildren));

    // Failures are reported, and leave no child behind.
    sys_test::WriteFile(tmp.Sub("data"), "x", 0644);
    sys_test::WriteFile(tmp.Sub("junk"), "not a program\n", 0755);
    EXPECT_EQ(launcher.Launch("no-such-program-for-sys-tests", {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("data"), {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("junk"), {}), sys::kLaunchSpawnFailed);
    EXPECT_TRUE(NoChildren());
}

TEST(Paths, ProgramDirJoinMakeDirFileExistsAndWorkingDirectory) {
    std::string dir = sys::ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_TRUE(sys::FileExists(sys::FullPathBesideProgram("test_sys")));
    EXPECT_EQ(sys::JoinPath("/opt/suite/", "gui"), "/opt/suite/gui");
    EXPECT_EQ(sys::JoinPath("/", "gui"), "/gui");
    EXPECT_EQ(sys::JoinPath("", "gui"), "gui");
    sys_test::CwdGuard guard;
    sys_test::TempDir tmp;
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirCreated);
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirExisted);
    sys_test::WriteFile(tmp.Sub("plain"), "x");
    EXPECT_EQ(sys::MakeDir(tmp.Sub("plain")), sys::kMakeDirNotADirectory);
    EXPECT_EQ(sys::MakeDir(tmp.Sub("missing/child")), sys::kMakeDirFailed);

    ASSERT_EQ(symlink(tmp.Sub("missing").c_str(), tmp.Sub("dangling").c_str()), 0);
    EXPECT_TRUE(sys::FileExists(tmp.Sub("plain")));
    EXPECT_TRUE(sys::FileExists(tmp.Sub("logs")));
    EXPECT_FALSE(sys::FileExists(tmp.Sub("missing")));
    EXPECT_FALSE(sys::FileExists(tmp.Sub("dangling")));
    EXPECT_FALSE(sys::FileExists(""));

    std::string before = sys::CurrentDir();
    EXPECT_EQ(sys::ChangeDir(tmp.Sub("missing")), -1);
    EXPECT_EQ(sys::CurrentDir(), before);

    ASSERT_EQ(sys::ChangeDir(tmp.path()), 0);
    EXPECT_EQ(sys::CurrentDir(), tmp.path());
    EXPECT_EQ(sys::MakeDir("sub"), sys::kMakeDirCreated);  // relative to the new directory
    ASSERT_EQ(sys::ChangeDir("sub"), 0);
    ASSERT_EQ(rmdir(tmp.Sub("sub").c_str()), 0);
    EXPECT_EQ(sys::CurrentDir(), "");
}

// Every test enters folders; the next one starts where this one did.
class RunTreeTest : public ::testing::Test {
  protected:
    // <tmp>/usr/lib/rtu-configurator with <tmp>/usr/share/rtu-configurator/gui beside it.
    std::string Installed() {
        fs::create_directories(tmp_.Sub("usr/lib/rtu-configurator"));
        fs::create_directories(tmp_.Sub("usr/share/rtu-configurator/gui"));
        sys_test::WriteFile(tmp_.Sub("usr/share/rtu-configurator/gui/G1.json"), "{}");
        return tmp_.Sub("usr/lib/rtu-configurator");
    }

    sys_test::CwdGuard guard_;
    std::string before_ = sys::CurrentDir();
    sys_test::TempDir tmp_;
    std::string runDir_, error_;
};

TEST_F(RunTreeTest, BuildTreeAndUnknownPlacesRunAsTheyAre) {
    fs::create_directories(tmp_.Sub("build/bin"));
    fs::create_directories(tmp_.Sub("build/gui"));
    for (const std::string& bin : {tmp_.Sub("build/bin"), tmp_.Sub("loose")})
        EXPECT_EQ(sys::EnterRunTree({bin, tmp_.Sub("data"), tmp_.Sub("home")}, &runDir_, &error_),
                  sys::kRunTreeAsIs)
            << bin;
    EXPECT_EQ(sys::CurrentDir(), before_);
    EXPECT_FALSE(fs::exists(tmp_.Sub("data")));
    EXPECT_TRUE(runDir_.empty());
}

// An installed program makes the user's tree once, an old install's link to the panels moves
// to the new one, and what the user has made stays, a gui folder of their own too.
TEST_F(RunTreeTest, InstalledMakesTheUsersTreeOnceAndEntersItsBin) {
    const sys::RunTreePlace place{Installed(), tmp_.Sub("data"), tmp_.Sub("home")};
    const std::string root = tmp_.Sub("data/rtu-configurator");
    sys_test::Symlink("/nonexistent/share/gui", root + "/gui");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
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
    fs::remove(root + "/gui");
    sys_test::WriteFile(root + "/gui/G1.json", "mine");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    EXPECT_TRUE(fs::exists(root + "/ParameterFile/mine.txt"));
    EXPECT_FALSE(fs::is_symlink(root + "/gui"));
}

// A file where a folder goes fails naming it, and the program stays where it was; HOME serves
// when XDG_DATA_HOME is unset or relative, and without either there is no place for the tree.
TEST_F(RunTreeTest, AFileInTheWayFailsNamingItAndHomeServesWithoutXdgDataHome) {
    const std::string prog = Installed();
    sys_test::WriteFile(tmp_.Sub("data/rtu-configurator/bin"), "not a folder");
    EXPECT_EQ(sys::EnterRunTree({prog, tmp_.Sub("data"), ""}, &runDir_, &error_),
              sys::kRunTreeFailed);
    EXPECT_EQ(error_, "cannot make folder " + tmp_.Sub("data/rtu-configurator/bin") +
                          ": something else is there");
    EXPECT_EQ(sys::CurrentDir(), before_);
    EXPECT_EQ(sys::EnterRunTree({prog, "", ""}, &runDir_, &error_), sys::kRunTreeFailed);
    EXPECT_EQ(error_, "neither XDG_DATA_HOME nor HOME names a folder for the suite's files");

    for (const std::string xdg : {"", "relative/data"}) {
        ASSERT_EQ(sys::EnterRunTree({prog, xdg, tmp_.Sub("home")}, &runDir_, &error_),
                  sys::kRunTreeEntered)
            << error_;
        EXPECT_EQ(runDir_, tmp_.Sub("home/.local/share/rtu-configurator/bin"));
    }
}

}  // namespace
