// A save killed at any of its system calls leaves the file it replaces either as it was or
// whole with the new content, never cut short. Each save runs in a child process of this test
// program under strace: one run lists the calls that touch the file's folder, then one run per
// call is killed right at that call. A leftover of a killed run is cleaned up by the next save.
// Needs strace and the right to trace a child; skipped (and said so) where either is missing.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "link/port_settings.h"
#include "platform/ui/constants.h"
#include "scan/language.h"
#include "tests/support/files.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDirVariable = "SUITE_SAVE_DRIVER_DIR";

fs::path DriverDir() {
    const char* dir = std::getenv(kDirVariable);
    return dir ? fs::path(dir) : fs::current_path();
}

// The saves themselves, run only by the test below (in a child process, under strace), each
// saving into the folder it is given: the parameter file a technician saves over, the write-all
// buffer file, the port settings and the language choice.
class SaveDriver : public transfertest::TransferTest {};

TEST_F(SaveDriver, DISABLED_ParameterFile) {
    StartWith(104, 2);
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, (DriverDir() / "set.txt").string());
    const int bar = rt.GetPanelMenuBar(ctx.gvMain);
    EXPECT_EQ(rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "SAVE_FILE")), 0);
}

TEST_F(SaveDriver, DISABLED_BufferFile) {
    StartWith(104, 2);
    EXPECT_EQ(PressRead(), 0);
    // The write-all reopens the port from the settings in the working folder.
    fs::copy_file("COM_Dev_use.txt", DriverDir() / "COM_Dev_use.txt",
                  fs::copy_options::overwrite_existing);
    fs::current_path(DriverDir());
    EXPECT_EQ(rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "WRITE")), 0);
}

TEST(SaveDriverSettings, DISABLED_PortSettings) {
    fs::current_path(DriverDir());
    EXPECT_EQ(conf::fn_Write_Port_Settings(5, 3, 0, 8, 2, 0x104), 0);
}

class SaveDriverScan : public scantest::ScanTest {};

TEST_F(SaveDriverScan, DISABLED_Language) {
    Start();
    fs::current_path(DriverDir());
    scan::LangS::SV(ctx, 2);
    EXPECT_EQ(scan::LangS::WF(ctx), 0);
}

// Runs strace with `options` over this program running one driver; the wait status.
int RunUnderStrace(const std::vector<std::string>& options, const std::string& driver,
                   const fs::path& dir) {
    std::vector<std::string> argv{"strace", "-qq"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(fs::read_symlink("/proc/self/exe").string());
    argv.push_back("--gtest_filter=" + driver);
    argv.push_back("--gtest_also_run_disabled_tests");
    const pid_t pid = fork();
    if (pid == 0) {
        setenv(kDirVariable, dir.c_str(), 1);
        // The leak checker stops the world with ptrace, which a traced program cannot.
        const char* asan = std::getenv("ASAN_OPTIONS");
        setenv("ASAN_OPTIONS", (std::string(asan ? asan : "") + ":detect_leaks=0").c_str(), 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> args;
        for (auto& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        execvp("strace", args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

struct Call {
    std::string name;
    int n;  // among the calls of that name, which is what strace's injection counts
    std::string line;
};

// The calls of a traced run (strace -y) that name the folder.
std::vector<Call> CallsInFolder(const std::string& trace, const std::string& folder) {
    std::vector<Call> calls;
    std::map<std::string, int> counts;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t paren = line.find('(');
        if (paren == std::string::npos || paren == 0) continue;
        const std::string name = line.substr(0, paren);
        const int n = ++counts[name];
        if (line.find(folder) != std::string::npos) calls.push_back({name, n, line});
    }
    return calls;
}

struct SavedFile {
    const char* name;
    const char* driver;
    const char* file;
};

class InterruptedSave : public ::testing::TestWithParam<SavedFile> {
  protected:
    void SetUp() override {
        if (RunUnderStrace({"-o", "/dev/null"}, "NoSuchTest", fs::temp_directory_path()) != 0)
            GTEST_SKIP() << "strace is missing or may not trace a child here";
        dir_ = fs::temp_directory_path() /
               ("interrupted_save_" + std::to_string(getpid()) + "_" + GetParam().file);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        dir_ = fs::canonical(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void PutOld() { std::ofstream(dir_ / GetParam().file, std::ios::binary) << kOld; }
    std::vector<std::string> Leftovers() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            if (e.path().extension() == ".part") names.push_back(e.path().filename().string());
        return names;
    }

    const std::string kOld = "the file that was there\n";
    fs::path dir_;
};

TEST_P(InterruptedSave, LeavesTheOldFileOrTheNewOneWhole) {
    const std::string driver = GetParam().driver;
    const fs::path file = dir_ / GetParam().file;
    const std::string syscalls =
        "openat,write,fsync,fdatasync,fchmod,close,rename,renameat,renameat2,unlink,unlinkat";
    PutOld();
    const fs::path trace = dir_.string() + ".trace";
    ASSERT_EQ(RunUnderStrace({"-o", trace.string(), "-y", "-s", "0", "-e", "trace=" + syscalls},
                             driver, dir_),
              0);
    const std::string whole = conf_test::ReadFile(file);
    ASSERT_NE(whole, kOld);
    const auto calls = CallsInFolder(conf_test::ReadFile(trace), dir_.string());
    fs::remove(trace);
    ASSERT_GE(calls.size(), 4u);  // at least the open, a write, the sync and the rename

    int keptOld = 0, tookNew = 0;
    for (const Call& call : calls) {
        SCOPED_TRACE(call.name + " #" + std::to_string(call.n));
        const std::string when = ":when=" + std::to_string(call.n);
        PutOld();
        const int status = RunUnderStrace({"-o", "/dev/null", "-e", "trace=" + call.name, "-e",
                                           "inject=" + call.name + ":signal=KILL" + when},
                                          driver, dir_);
        EXPECT_TRUE((WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ||
                    (WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGKILL))
            << status;
        const std::string after = conf_test::ReadFile(file);
        EXPECT_TRUE(after == kOld || after == whole) << after;
        keptOld += after == kOld;
        tookNew += after == whole;

        // The disk full at a write or the sync of the new file: the save fails, the old file
        // stays and nothing is left beside it.
        const bool onTemporary =
            call.line.find("/." + std::string(GetParam().file) + ".") != std::string::npos;
        if (!onTemporary || (call.name != "write" && call.name != "fsync")) continue;
        PutOld();
        RunUnderStrace({"-o", "/dev/null", "-e", "trace=" + call.name, "-e",
                        "inject=" + call.name + ":error=ENOSPC" + when},
                       driver, dir_);
        EXPECT_EQ(conf_test::ReadFile(file), kOld);
        EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    }
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(tookNew, 0);  // the calls after the rename (the folder's sync)

    // The next save puts the new file in place and takes away what the killed ones left.
    PutOld();
    ASSERT_EQ(RunUnderStrace({"-o", "/dev/null"}, driver, dir_), 0);
    EXPECT_EQ(conf_test::ReadFile(file), whole);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Files, InterruptedSave,
    ::testing::Values(
        SavedFile{"ParameterFile", "SaveDriver.DISABLED_ParameterFile", "set.txt"},
        SavedFile{"BufferFile", "SaveDriver.DISABLED_BufferFile", "W_para_buff.txt"},
        SavedFile{"PortSettings", "SaveDriverSettings.DISABLED_PortSettings", "COM_Dev_use.txt"},
        SavedFile{"Language", "SaveDriverScan.DISABLED_Language", "Language_Selection.txt"}),
    [](const ::testing::TestParamInfo<SavedFile>& saved) { return std::string(saved.param.name); });

}  // namespace
