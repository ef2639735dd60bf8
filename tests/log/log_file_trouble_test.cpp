// What is at the log's and the switch file's names is not always what belongs there: a FIFO,
// a folder, an endless device, a huge file, a full disk, a read-only folder. Start-up never
// waits on them, reads the switches only as far as their fields go, and a log that cannot be
// created or written is said once, in a popup and on stderr.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "log/event_log.h"
#include "log/log_errors.h"
#include "log/log_launch.h"
#include "platform/sys/paths.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/file_trouble.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;
using namespace conf;
using conf_test::ReadFile;
using conf_test::WriteFile;
using test_support::FifoGuard;

class LogFileTrouble : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    std::string LogPath() { return sys::JoinPath(sys::CurrentDir(), "log.txt"); }
    std::string Said(const char* what, int error) {
        return std::string("Cannot ") + what + " log file " + LogPath() + ": " +
               std::strerror(error);
    }
    // The one popup and the one stderr line a run may have about its log.
    void ExpectSaidOnce(const std::string& text, const std::string& err) {
        ASSERT_EQ(fe.Popups().size(), 1u);
        EXPECT_EQ(fe.Popups()[0].type, ui::HeadlessFrontEnd::Popup::Type::Message);
        EXPECT_EQ(fe.Popups()[0].title, "Event log");
        EXPECT_EQ(fe.Popups()[0].text, text);
        EXPECT_EQ(err, text + "\n");
    }
    // Everything that opens or writes the log, a few times over.
    void UseTheLog() {
        logs(ctx, "%s\n", "one");
        Log::Append(ctx);
        logi(ctx, "%d\n", 2);
        LogWriteAlways(ctx, "three\n");
        WriteErrorReport(ctx.gpLog, "m104___main :: 1", "open file NG :: x.txt");
        Log::Clear(ctx);
        dbgs(ctx, "%s\n", "four");
    }
};

// A FIFO or a folder named like the switch file is no switch file: both switches off, and
// start-up never waits on it. (A device is tried below, in a child with bounded memory.)
TEST_F(LogFileTrouble, SwitchFileThatIsNoRegularFileTurnsBothSwitchesOff) {
    {
        FifoGuard fifo("YN_log_dbg.txt");
        ASSERT_TRUE(fifo.Made());
        EXPECT_EQ(Log::init(ctx), 0);
        EXPECT_FALSE(fifo.HadToFree()) << "start-up waited on a FIFO";
    }
    EXPECT_EQ(ctx.gvLogYN, 0);
    EXPECT_EQ(ctx.gvdbgYN, 0);
    fs::remove("YN_log_dbg.txt");

    fs::create_directory("YN_log_dbg.txt");
    ctx.gvLogYN = ctx.gvdbgYN = 1;
    Log::init(ctx);
    EXPECT_EQ(ctx.gvLogYN + ctx.gvdbgYN, 0);
    EXPECT_TRUE(fe.Popups().empty());
}

// The switches sit at the start of the file; what follows them is never read. A child with
// little room for memory reads a 1 GB file and a link to an endless device.
TEST_F(LogFileTrouble, SwitchFileIsReadOnlyAsFarAsItsFieldsGo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
#endif
#endif
    {
        std::ofstream big("big.txt", std::ios::binary);
        big << "1 0\n";
    }
    fs::resize_file("big.txt", 1ull << 30);  // sparse: no disk space taken
    const struct {
        const char* target;
        int logYN;
    } files[] = {{"big.txt", 1}, {"/dev/zero", 0}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.target);
        fs::remove("YN_log_dbg.txt");
        fs::create_symlink(f.target, "YN_log_dbg.txt");
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // 256 MB of address space beyond what the child already has.
            std::ifstream status("/proc/self/status");
            std::string word;
            unsigned long long kb = 0;
            while (status >> word)
                if (word == "VmSize:" && status >> kb) break;
            const rlim_t limit = (kb << 10) + (256ull << 20);
            const rlimit room{limit, limit};
            setrlimit(RLIMIT_AS, &room);
            // The child must end here whatever happens, never run on as a test runner.
            int code = 4;  // the read ran out of memory
            try {
                Log::init(ctx);
                code = ctx.gvLogYN == f.logYN && ctx.gvdbgYN == 0 ? 0 : 3;
            } catch (...) {
            }
            _exit(code);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
        if (WIFEXITED(status)) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << "4: out of memory, 3: wrong switches";
        }
    }
}

// log.txt a FIFO nobody reads: the open fails at once, and that is a log that cannot be made.
TEST_F(LogFileTrouble, ALogThatIsAFifoNeverHoldsTheStart) {
    testing::internal::CaptureStderr();
    {
        FifoGuard fifo("log.txt");
        ASSERT_TRUE(fifo.Made());
        WriteFile("YN_log_dbg.txt", "1 1");
        EXPECT_EQ(Log::init(ctx), 0);
        UseTheLog();
        EXPECT_FALSE(fifo.HadToFree()) << "the log's open waited on a FIFO";
    }
    ExpectSaidOnce(Said("create", ENXIO), testing::internal::GetCapturedStderr());
    EXPECT_FALSE(ctx.gpLog.IsOpen());
}

// A folder in the log's place cannot be opened, not even by root: every write is skipped.
TEST_F(LogFileTrouble, ALogThatCannotBeCreatedIsSkippedAndSaidOnce) {
    fs::create_directory("log.txt");
    WriteFile("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Log::init(ctx), 0);
    EXPECT_FALSE(ctx.gpLog.IsOpen());
    UseTheLog();
    EXPECT_EQ(logi(ctx, "%d\n", 1) + logs(ctx, "%s\n", "s") + logf(ctx, "%f\n", 1.0), 0);
    EXPECT_EQ(dbgi(ctx, "%d\n", 1) + dbgs(ctx, "%s\n", "s") + dbgf(ctx, "%f\n", 1.0), 0);
    EXPECT_EQ(Log::Clear(ctx), 0);
    EXPECT_FALSE(ctx.gpLog.IsOpen());
    launcher.result = -1;  // the failure line has nowhere to go either
    EXPECT_EQ(Log::Launch(ctx), 0);
    EXPECT_EQ(launcher.calls.size(), 1u);
    EXPECT_TRUE(fs::is_empty("log.txt"));
    ExpectSaidOnce(Said("create", EISDIR), testing::internal::GetCapturedStderr());
}

TEST_F(LogFileTrouble, ALogInAReadOnlyFolderIsSaidOnce) {
    ASSERT_EQ(chmod(".", 0555), 0);
    testing::internal::CaptureStderr();
    {
        test_support::PermissionBitsBind bind;
        Log::init(ctx);
        UseTheLog();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    chmod(".", 0755);
    ExpectSaidOnce(Said("create", EACCES), err);
}

// A full disk: the first write that fails is said, later ones are not, and the run goes on.
TEST_F(LogFileTrouble, AFullDiskIsSaidAtTheFirstFailedWrite) {
    fs::create_symlink("/dev/full", "log.txt");
    WriteFile("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Log::init(ctx), 0);
    EXPECT_TRUE(ctx.gpLog.IsOpen());
    UseTheLog();
    ExpectSaidOnce(Said("write", ENOSPC), testing::internal::GetCapturedStderr());
    EXPECT_EQ(LogWriteAlways(ctx, "more\n"), -1);
}

}  // namespace
