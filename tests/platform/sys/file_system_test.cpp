// Settings files read only when regular and only as far as asked; writes that never wait on a
// FIFO; a full disk told from a file that cannot be created. A rewritten file is replaced whole
// or not at all: the old file stays through a write that fails, a full disk, a read-only folder
// and a save that is given up; links stay links, the mode stays, and what a killed save leaves
// behind is cleaned up by the next save. Then the paths beside the program, the lookup of the
// programs a program starts, the system launcher, and the run-time tree an installed program
// makes for its user and enters.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/sys/file_replacement.h"
#include "platform/sys/launch.h"
#include "platform/sys/paths.h"
#include "platform/sys/run_tree.h"
#include "platform/sys/small_file.h"
#include "temp_dir.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/file_trouble.h"

namespace {

namespace fs = std::filesystem;
using sys_test::TempDir;
using sys_test::WriteFile;
using test_support::FifoGuard;

std::string Read(const std::string& path) {
    std::string text;
    EXPECT_EQ(sys::ReadFileHead(path, 1 << 20, &text), 0) << path;
    return text;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// A pid that no process has: a child that has ended and been reaped.
pid_t GonePid() {
    const pid_t pid = fork();
    if (pid == 0) _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(FileReplacement, ReplacesTheFileAtTheEndOfItsLinkKeepingItsModeAndClearsLeftovers) {
    TempDir dir;
    WriteFile(dir.Sub("real/a.txt"), "an older and longer content", 0640);
    sys_test::Symlink("real/a.txt", dir.Sub("a.txt"));
    {
        sys::FileReplacement f(dir.Sub("a.txt"));
        ASSERT_TRUE(f.opened());
        std::fputs("5\n3", f.get());
        EXPECT_EQ(Read(dir.Sub("a.txt")), "an older and longer content");  // not yet
        EXPECT_EQ(f.Commit(), 0);
    }
    EXPECT_TRUE(fs::is_symlink(dir.Sub("a.txt")));
    EXPECT_EQ(Read(dir.Sub("real/a.txt")), "5\n3");
    EXPECT_EQ(fs::status(dir.Sub("real/a.txt")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(dir.Sub("real")), std::set<std::string>{"a.txt"});

    // A new file, and a dangling link that an open for writing would have followed.
    sys_test::Symlink("made.txt", dir.Sub("dangling.txt"));
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("new.txt"), "1"), 0);
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("dangling.txt"), "2"), 0);
    EXPECT_EQ(Read(dir.Sub("new.txt")), "1");
    EXPECT_EQ(Read(dir.Sub("made.txt")), "2");
    EXPECT_TRUE(fs::is_symlink(dir.Sub("dangling.txt")));

    // The leftovers of a killed save are removed by the next save of that file; a save of the
    // same file that another program is making keeps its file.
    const std::string left = dir.Sub("left/");
    const std::string gone = ".a.txt." + std::to_string(GonePid()) + ".part";
    const std::string mine = ".a.txt." + std::to_string(getpid()) + ".part";
    const std::string running = ".a.txt." + std::to_string(getppid()) + ".part";
    const std::string other = ".b.txt." + std::to_string(GonePid()) + ".part";
    for (const std::string& name : {gone, mine, running, other, std::string("a.txt")})
        WriteFile(left + name, "half a");
    EXPECT_EQ(Read(left + "a.txt"), "half a");  // a reader of a.txt or *.txt sees no leftover
    bool created = false;
    EXPECT_EQ(sys::WriteWholeFile(left + "a.txt", "whole", &created), 0);
    EXPECT_TRUE(created);
    EXPECT_EQ(Read(left + "a.txt"), "whole");
    EXPECT_EQ(Names(left), (std::set<std::string>{"a.txt", running, other}));
}

TEST(FileReplacement, TheOldFileStaysWhenTheSaveIsGivenUpOrFailsAndFailuresAreTold) {
    TempDir dir;
    WriteFile(dir.Sub("a.txt"), "old");
    {
        sys::FileReplacement f(dir.Sub("a.txt"));
        ASSERT_TRUE(f.opened());
        std::fputs("new, never committed", f.get());
    }
    EXPECT_EQ(Read(dir.Sub("a.txt")), "old");
    EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});

    // A disk that takes four bytes: the write fails, at the write or at the sync.
    for (const std::string& content : {std::string(10, 'x'), std::string(100000, 'y')}) {
        bool created = false;
        int result = 0, error = 0;
        {
            test_support::FileSizeLimit full(4);
            result = sys::WriteWholeFile(dir.Sub("a.txt"), content, &created);
            error = errno;
        }
        EXPECT_EQ(std::make_tuple(result, error, created), std::make_tuple(-1, EFBIG, true));
        EXPECT_EQ(Read(dir.Sub("a.txt")), "old");
        EXPECT_EQ(Names(dir.path()), std::set<std::string>{"a.txt"});
    }

    // A read-only folder: nothing can be made beside the file, so nothing is replaced.
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    bool created = true;
    int result = 0, error = 0;
    {
        test_support::PermissionBitsBind bind;
        result = sys::WriteWholeFile(dir.Sub("a.txt"), "new", &created);
        error = errno;
    }
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(std::make_tuple(result, error, created), std::make_tuple(-1, EACCES, false));
    EXPECT_EQ(Read(dir.Sub("a.txt")), "old");

    // Cannot create (a folder at the name, a parent that is a file) against cannot write (a
    // full disk: /dev/full opens and refuses every byte).
    fs::create_directory(dir.Sub("folder.txt"));
    WriteFile(dir.Sub("file"), "");
    sys_test::Symlink("/dev/full", dir.Sub("full.txt"));
    const std::tuple<const char*, bool, int> kTrouble[] = {
        {"folder.txt", false, EISDIR}, {"file/a.txt", false, ENOTDIR}, {"full.txt", true, ENOSPC}};
    for (const auto& [name, made, why] : kTrouble) {
        created = !made;
        EXPECT_EQ(sys::WriteWholeFile(dir.Sub(name), "12", &created), -1) << name;
        EXPECT_EQ(std::make_pair(created, errno), std::make_pair(made, why)) << name;
    }
}

TEST(SmallFile, ReadsARegularFileUpToTheBoundWritesLikeFopenAndNeverWaitsOnAFifo) {
    TempDir dir;
    WriteFile(dir.Sub("a.txt"), std::string("1f00 104\n\0x", 11));
    std::string text = "old";
    int error = -1;
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("a.txt"), 100, &text, &error), 0);
    EXPECT_EQ(text, std::string("1f00 104\n\0x", 11));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("a.txt"), 3, &text), 0);
    EXPECT_EQ(text, "1f0");

    int code = -9;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(
        sys::OpenRegularForReading(dir.Sub("a.txt"), &code), std::fclose);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(code, 0);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f.get()), 4u);
    EXPECT_STREQ(head, "1f00");
    EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("none"), &code), nullptr);
    EXPECT_EQ(code, sys::kFileMissing);

    // A huge (sparse) file costs no more than its first bytes.
    WriteFile(dir.Sub("big.txt"), "7");
    fs::resize_file(dir.Sub("big.txt"), 4ull << 30);
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("big.txt"), 8, &text), 0);
    EXPECT_EQ(text, std::string("7\0\0\0\0\0\0\0", 8));

    // What is no regular file is refused, without waiting.
    text = "old";
    error = -1;
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("none.txt"), 10, &text, &error), sys::kFileMissing);
    EXPECT_EQ(std::make_pair(error, text), std::make_pair(ENOENT, std::string()));
    EXPECT_EQ(sys::FileProblemText(sys::kFileMissing, error), "No such file or directory");

    fs::create_directory(dir.Sub("folder.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("folder.txt"), 10, &text, &error), sys::kFileNotRegular);
    EXPECT_EQ(sys::FileProblemText(sys::kFileNotRegular, error), "not a regular file");

    sys_test::Symlink("/dev/zero", dir.Sub("zero.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("zero.txt"), 10, &text), sys::kFileNotRegular);
    sys_test::Symlink(dir.Sub("gone"), dir.Sub("dangling.txt"));
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("dangling.txt"), 10, &text), sys::kFileMissing);

    FifoGuard fifo(dir.Sub("fifo.txt"));
    ASSERT_TRUE(fifo.Made());
    EXPECT_EQ(sys::ReadFileHead(dir.Sub("fifo.txt"), 10, &text), sys::kFileNotRegular);
    code = 0;
    EXPECT_EQ(sys::OpenRegularForReading(dir.Sub("fifo.txt"), &code), nullptr);
    EXPECT_EQ(code, sys::kFileNotRegular);
    EXPECT_FALSE(fifo.HadToFree());

    // Writing: created, emptied and appended as fopen does.
    const std::string path = dir.Sub("log.txt");
    for (bool append : {false, true, true, false}) {
        std::FILE* log = sys::OpenForWriting(path, append);
        ASSERT_NE(log, nullptr);
        std::fputs("x", log);
        EXPECT_EQ(std::fclose(log), 0);
    }
    EXPECT_EQ(Read(path), "x");

    // A FIFO nobody reads fails at once; one that is read is written to (a technician's tail).
    FifoGuard tail(dir.Sub("tail.txt"));
    ASSERT_TRUE(tail.Made());
    errno = 0;
    EXPECT_EQ(sys::OpenForWriting(dir.Sub("tail.txt"), true), nullptr);
    EXPECT_EQ(errno, ENXIO);
    EXPECT_EQ(sys::WriteWholeFile(dir.Sub("tail.txt"), "1"), -1);
    EXPECT_FALSE(tail.HadToFree());

    const int reader = ::open(dir.Sub("tail.txt").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::FILE* out = sys::OpenForWriting(dir.Sub("tail.txt"), true);
    ASSERT_NE(out, nullptr);
    std::fputs("tail\n", out);
    EXPECT_EQ(std::fclose(out), 0);
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 5);
    EXPECT_STREQ(got, "tail\n");
    ::close(reader);
}

// --- Paths, programs and the run-time tree ------------------------------------------------------

const std::vector<std::string> kSuite = {"Scan", "Tarnel", "Ombrel"};

std::string ResolveProgram(const std::string& name, const std::string& dir,
                           const std::string& pathEnv) {
    return sys::ResolveProgram(name, dir, pathEnv, kSuite);
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

// A program directory and two PATH directories of fake executables: the suite's programs only
// from beside us, PATH searched in order for the first executable file, and the working
// directory never searched. Then the system launcher passes its arguments literally, with
// standard input on /dev/null, reaps its children and reports its failures.
TEST(Launch, ProgramsFoundBesideUsOrOnPathAndStartedLiterallyAndReaped) {
    TempDir tmp;
    const std::string prog = tmp.Sub("prog"), bin1 = tmp.Sub("bin1"), bin2 = tmp.Sub("bin2");
    const std::string path = bin1 + ":" + bin2;
    for (const std::string& dir : {prog, bin1, bin2})
        ASSERT_EQ(sys::MakeDir(dir), 0);
    const auto Exe = [](std::initializer_list<std::string> files, mode_t mode = 0755) {
        for (const std::string& file : files)
            WriteFile(file, "#!/bin/true\n", mode);
    };

    Exe({prog + "/Tarnel"}, 0644);
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
    Exe({bin1 + "/tool"}, 0644);
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
    Exe({bin1 + "/data"}, 0644);
    EXPECT_EQ(ResolveProgram("here", prog, bin1 + "::"), "");
    EXPECT_FALSE(sys::FindOnPath("bin1/tool", tmp.path(), nullptr));
    EXPECT_EQ(ResolveProgram("./here", prog, ""), "./here");
    EXPECT_EQ(ResolveProgram(bin1 + "/tool", prog, ""), bin1 + "/tool");
    EXPECT_EQ(ResolveProgram(bin1 + "/data", prog, bin1), "");

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
    WriteFile(tmp.Sub("data"), "x", 0644);
    WriteFile(tmp.Sub("junk"), "not a program\n", 0755);
    EXPECT_EQ(launcher.Launch("no-such-program-for-sys-tests", {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("data"), {}), sys::kLaunchNotFound);
    EXPECT_EQ(launcher.Launch(tmp.Sub("junk"), {}), sys::kLaunchSpawnFailed);
    EXPECT_TRUE(NoChildren());
}

TEST(Paths, ProgramDirJoinMakeDirFileExistsAndWorkingDirectory) {
    EXPECT_EQ(sys::ProgramDir().rfind('/', 0), 0u);  // absolute
    EXPECT_TRUE(sys::FileExists(sys::FullPathBesideProgram("test_sys")));
    EXPECT_EQ(sys::JoinPath("/opt/suite/", "gui"), "/opt/suite/gui");
    EXPECT_EQ(sys::JoinPath("/", "gui"), "/gui");
    EXPECT_EQ(sys::JoinPath("", "gui"), "gui");
    sys_test::CwdGuard guard;
    TempDir tmp;
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirCreated);
    EXPECT_EQ(sys::MakeDir(tmp.Sub("logs")), sys::kMakeDirExisted);
    WriteFile(tmp.Sub("plain"), "x");
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
        WriteFile(tmp_.Sub("usr/share/rtu-configurator/gui/G1.json"), "{}");
        return tmp_.Sub("usr/lib/rtu-configurator");
    }

    sys_test::CwdGuard guard_;
    std::string before_ = sys::CurrentDir();
    TempDir tmp_;
    std::string runDir_, error_;
};

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
    WriteFile(root + "/ParameterFile/mine.txt", "kept");
    fs::remove(root + "/gui");
    WriteFile(root + "/gui/G1.json", "mine");
    ASSERT_EQ(sys::EnterRunTree(place, &runDir_, &error_), sys::kRunTreeEntered) << error_;
    EXPECT_TRUE(fs::exists(root + "/ParameterFile/mine.txt"));
    EXPECT_FALSE(fs::is_symlink(root + "/gui"));
}

// A build tree and an unknown place run as they are. A file where a folder goes fails naming it,
// and the program stays where it was; HOME serves when XDG_DATA_HOME is unset or relative, and
// without either there is no place for the tree.
TEST_F(RunTreeTest, PlacesThatRunAsTheyAreAFileInTheWayAndHomeWithoutXdgDataHome) {
    fs::create_directories(tmp_.Sub("build/bin"));
    fs::create_directories(tmp_.Sub("build/gui"));
    for (const std::string& bin : {tmp_.Sub("build/bin"), tmp_.Sub("loose")})
        EXPECT_EQ(sys::EnterRunTree({bin, tmp_.Sub("data"), tmp_.Sub("home")}, &runDir_, &error_),
                  sys::kRunTreeAsIs)
            << bin;
    EXPECT_EQ(sys::CurrentDir(), before_);
    EXPECT_FALSE(fs::exists(tmp_.Sub("data")));
    EXPECT_TRUE(runDir_.empty());

    const std::string prog = Installed();
    WriteFile(tmp_.Sub("data/rtu-configurator/bin"), "not a folder");
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
