#include "platform/sys/launch.h"
#include "platform/sys/paths.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/sys/temp_dir.h"

namespace {

const std::vector<std::string> kSuite = {"Scan", "Tarnel", "Ombrel"};

std::string ResolveProgram(const std::string& name, const std::string& dir,
                           const std::string& pathEnv) {
    return sys::ResolveProgram(name, dir, pathEnv, kSuite);
}

// A program directory and two PATH directories of fake executables.
class Resolve : public ::testing::Test {
  protected:
    void Exe(std::initializer_list<std::string> files, mode_t mode = 0755) {
        for (const std::string& file : files)
            sys_test::WriteFile(file, "#!/bin/true\n", mode);
    }
    void NonExe(const std::string& file) { Exe({file}, 0644); }

    sys_test::TempDir tmp;
    std::string prog = tmp.Sub("prog");
    std::string bin1 = tmp.Sub("bin1");
    std::string bin2 = tmp.Sub("bin2");
    std::string path = bin1 + ":" + bin2;
    bool made = sys::MakeDir(prog) == 0 && sys::MakeDir(bin1) == 0 && sys::MakeDir(bin2) == 0;
};

TEST_F(Resolve, SuiteProgramsOnlyFromBesideUs) {
    ASSERT_TRUE(made);
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
}

TEST_F(Resolve, PathSearchTakesFirstExecutableFile) {
    ASSERT_TRUE(made);
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
}

TEST_F(Resolve, NoWorkingDirectoryLookupsExceptExplicitPaths) {
    ASSERT_TRUE(made);
    sys_test::CwdGuard guard;
    ASSERT_EQ(sys::ChangeDir(tmp.path()), 0);
    Exe({tmp.Sub("here"), bin1 + "/tool"});
    NonExe(bin1 + "/data");
    EXPECT_EQ(ResolveProgram("here", prog, bin1 + "::"), "");
    EXPECT_FALSE(sys::FindOnPath("bin1/tool", tmp.path(), nullptr));
    EXPECT_EQ(ResolveProgram("./here", prog, ""), "./here");
    EXPECT_EQ(ResolveProgram(bin1 + "/tool", prog, ""), bin1 + "/tool");
    EXPECT_EQ(ResolveProgram(bin1 + "/data", prog, bin1), "");
}

// Polls for up to two seconds; these tests wait on real processes.
bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// Processes, zombies included, whose parent is this test.
int ChildCount() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string stat;
        std::getline(std::ifstream(entry.path() / "stat"), stat);
        // "pid (name) state ppid ...", where the name may itself hold ") ".
        std::istringstream rest(stat.substr(stat.rfind(')') + 1));
        std::string state;
        pid_t ppid = 0;
        if (rest >> state >> ppid && ppid == getpid()) ++count;
    }
    return count;
}

TEST(SystemLauncher, PassesArgumentsLiterallyWithStdinOnDevNullAndReapsTheChild) {
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
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::is_symlink(link); }));
    EXPECT_EQ(std::filesystem::read_symlink(link).string(), "/dev/null");
    EXPECT_TRUE(WaitFor([] { return ChildCount() == 0; }));
}

TEST(SystemLauncher, FailuresAreReported) {
    sys_test::TempDir tmp;
    sys_test::WriteFile(tmp.Sub("data"), "x", 0644);
    sys_test::WriteFile(tmp.Sub("junk"), "not a program\n", 0755);
    sys::SystemLauncher launcher(kSuite);
    EXPECT_EQ(launcher.Launch("no-such-program-for-sys-tests", {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("data"), {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("junk"), {}), sys::kLaunchSpawnFailed);
    EXPECT_EQ(ChildCount(), 0);
}

TEST(Paths, ProgramDirAndJoin) {
    std::string dir = sys::ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_TRUE(sys::FileExists(sys::FullPathBesideProgram("test_sys")));
    EXPECT_EQ(sys::JoinPath("/opt/suite/", "gui"), "/opt/suite/gui");
    EXPECT_EQ(sys::JoinPath("/", "gui"), "/gui");
    EXPECT_EQ(sys::JoinPath("", "gui"), "gui");
}

TEST(Paths, MakeDirFileExistsAndWorkingDirectory) {
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

}  // namespace
