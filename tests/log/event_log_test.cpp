// The event log file: switches, the run header, the writers, appending, the error reports, the
// editor, and what may sit at the log's and the switch file's names instead of a file: a FIFO,
// a folder, an endless device, a huge file, a full disk, a read-only folder. Start-up never
// waits on them, reads the switches only as far as their fields go, and a log that cannot be
// created or written is said once, in a popup and on stderr.

#include "log/event_log.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "log/log_errors.h"
#include "log/log_launch.h"
#include "models/model_a.h"
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
using Call = sys::RecordingLauncher::Call;

const std::string kHeaderOn = std::string(49, '=') + "\n\ngvLogYN = 1 \n";
const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";  // "★★★" in Big5

class EventLog : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    std::string Said(const char* what, int error) {
        return std::string("Cannot ") + what + " log file " +
               sys::JoinPath(sys::CurrentDir(), "log.txt") + ": " + std::strerror(error);
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

// A log that works says nothing: no popup, no line on stderr.
TEST_F(EventLog, WritersFormatWithoutAFixedBufferAndSayNothing) {
    WriteFile("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Log::init(ctx), 0);
    EXPECT_EQ(logi(ctx, "station %d\n", 7), 0);
    EXPECT_EQ(logs(ctx, "port %s\n", std::string(5000, 'x')), 0);
    EXPECT_EQ(logf(ctx, "PV = %.2f\n", 12.5), 0);
    EXPECT_EQ(dbgs(ctx, "rx %s\n", "01 03"), 0);
    EXPECT_EQ(dbgf(ctx, "%.1f\n", -0.25), 0);
    EXPECT_EQ(ReadFile("log.txt"), kHeaderOn + "station 7\nport " + std::string(5000, 'x') +
                                       "\nPV = 12.50\nrx 01 03\n-0.2\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(fe.Popups().empty());
}

// Each switch alone decides its writers: 1 when switched off, and nothing written. A FIFO or
// a folder named like the switch file is no switch file, and start-up never waits on it.
TEST_F(EventLog, SwitchFileFormsDecideWhatIsWritten) {
    struct Case {
        const char* content;  // nullptr: no file; "fifo", "dir": that in the file's place
        int logYN, dbgYN;
    };
    for (Case c :
         {Case{nullptr, 0, 0}, Case{"1", 0, 0}, Case{"x 1", 0, 0}, Case{"1,1", 0, 0},
          Case{"0 1\n", 0, 1}, Case{"1 0", 1, 0}, Case{"2 1", 0, 1}, Case{"\n1\n 1 x", 1, 1},
          Case{"11 1", 0, 1}, Case{"fifo", 0, 0}, Case{"dir", 0, 0}}) {
        SCOPED_TRACE(c.content ? c.content : "(none)");
        fs::remove("YN_log_dbg.txt");
        fs::remove("log.txt");
        ctx.gvLogYN = ctx.gvdbgYN = 1;
        const std::string content = c.content ? c.content : "";
        std::optional<FifoGuard> fifo;
        if (content == "fifo") {
            fifo.emplace("YN_log_dbg.txt");
            ASSERT_TRUE(fifo->Made());
        } else if (content == "dir") {
            fs::create_directory("YN_log_dbg.txt");
        } else if (c.content) {
            WriteFile("YN_log_dbg.txt", content);
        }
        EXPECT_EQ(Log::init(ctx), 0);
        EXPECT_FALSE(fifo && fifo->HadToFree()) << "start-up waited on a FIFO";
        fifo.reset();
        EXPECT_EQ(ctx.gvLogYN, c.logYN);
        EXPECT_EQ(ctx.gvdbgYN, c.dbgYN);
        EXPECT_EQ(logs(ctx, "log %s\n", "L"), c.logYN ? 0 : 1);
        EXPECT_EQ(dbgi(ctx, "dbg %d\n", 2), c.dbgYN ? 0 : 1);
        EXPECT_EQ(ReadFile("log.txt"), (c.logYN ? kHeaderOn + "log L\n" : "gvLogYN = 0 \n") +
                                           (c.dbgYN ? "dbg 2\n" : ""));
    }
    EXPECT_TRUE(fe.Popups().empty());
}

TEST_F(EventLog, RunsAppendAndClearEmpties) {
    WriteFile("YN_log_dbg.txt", "1 0");
    Log::init(ctx);
    logi(ctx, "run %d\n", 1);
    Log::Close(ctx);
    {
        Context next{rt, launcher, ModelA()};
        Log::init(next);
        logi(next, "run %d\n", 2);
    }
    EXPECT_EQ(ReadFile("log.txt"), kHeaderOn + "run 1\n" + kHeaderOn + "run 2\n");
    Log::Append(ctx);
    EXPECT_EQ(Log::Clear(ctx), 0);
    logi(ctx, "run %d\n", 3);
    EXPECT_EQ(ReadFile("log.txt"), "run 3\n");
}

// No switch file: both switches off, and the reports are logged anyway. The port's goes to the
// status line, the file's to a popup.
TEST_F(EventLog, ErrorReportsAreLoggedAndShown) {
    Log::init(ctx);
    EXPECT_EQ(Log::err_Open_COM(ctx, "m104__UART", 2286313, -1), 0);
    EXPECT_TRUE(fe.Popups().empty());
    EXPECT_EQ(LineText(), "Open COM NG :: err code : -1");
    EXPECT_EQ(LineColor(), 0xFF0000);
    EXPECT_EQ(Log::err_Open_File(ctx, "m104__UART", 591475, "COM_Dev_use.txt"), 0);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(LineText(), "Open COM NG :: err code : -1");  // the file report leaves it
    EXPECT_EQ(ReadFile("log.txt"), "gvLogYN = 0 \n" + kStars + " m104__UART :: 2286313 \n" +
                                       kStars + " Open COM NG :: err code : -1 \n\n" + kStars +
                                       " m104__UART :: 591475 \n" + kStars +
                                       " open file NG :: COM_Dev_use.txt \n\n");
}

// The switches sit at the start of the file; what follows them is never read. A child with
// little room for memory reads a 1 GB file and a link to an endless device.
TEST_F(EventLog, SwitchFileIsReadOnlyAsFarAsItsFieldsGo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
#endif
#endif
    std::ofstream("big.txt", std::ios::binary) << "1 0\n";
    fs::resize_file("big.txt", 1ull << 30);  // sparse: no disk space taken
    for (const auto& [target, logYN] : {std::pair{"big.txt", 1}, std::pair{"/dev/zero", 0}}) {
        SCOPED_TRACE(target);
        fs::remove("YN_log_dbg.txt");
        fs::create_symlink(target, "YN_log_dbg.txt");
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
                code = ctx.gvLogYN == logYN && ctx.gvdbgYN == 0 ? 0 : 3;
            } catch (...) {
            }
            _exit(code);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "4: no memory, 3: switches";
    }
}

// log.txt a FIFO nobody reads: the open fails at once, and that is a log that cannot be made.
TEST_F(EventLog, ALogThatIsAFifoNeverHoldsTheStart) {
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
TEST_F(EventLog, ALogThatCannotBeCreatedIsSkippedAndSaidOnce) {
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

TEST_F(EventLog, ALogInAReadOnlyFolderIsSaidOnce) {
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
TEST_F(EventLog, AFullDiskIsSaidAtTheFirstFailedWrite) {
    fs::create_symlink("/dev/full", "log.txt");
    WriteFile("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Log::init(ctx), 0);
    EXPECT_TRUE(ctx.gpLog.IsOpen());
    UseTheLog();
    ExpectSaidOnce(Said("write", ENOSPC), testing::internal::GetCapturedStderr());
    EXPECT_EQ(LogWriteAlways(ctx, "more\n"), -1);
}

// Records what the editor would find on disk, and whether the log was still open.
class PeekingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>& args) override {
        calls.push_back({program, args});
        seen.push_back(ReadFile("log.txt") + (watched->gpLog.IsOpen() ? "(open)" : ""));
        return 0;
    }
    std::vector<Call> calls;
    std::vector<std::string> seen;
    Context* watched = nullptr;
};

// Opening the log in an editor: the desktop's opener unless VISUAL names one, notepad2.exe on
// the PATH before both; the log stays open around it, and the editor finds it whole.
TEST_F(EventLog, EditorChoiceAndTheLogAroundIt) {
    const std::string savedPath = std::getenv("PATH");
    const char* visual = std::getenv("VISUAL");
    const std::optional<std::string> savedVisual =
        visual ? std::optional<std::string>(visual) : std::nullopt;
    fs::create_directory("tools");
    setenv("PATH", dir.Sub("tools").c_str(), 1);  // no notepad2.exe yet
    unsetenv("VISUAL");

    PeekingLauncher peek;
    Context c{rt, peek, ModelA()};
    peek.watched = &c;
    c.gvLogYN = 1;
    Log::Append(c);
    logi(c, "before %d\n", 1);
    EXPECT_EQ(Log::Launch(c), 0);
    logi(c, "between %d\n", 2);
    EXPECT_EQ(Log::Launch(c), 0);
    logi(c, "after %d\n", 3);
    const Call desktop{"xdg-open", {dir.Sub("log.txt")}};
    EXPECT_EQ(peek.calls, (std::vector<Call>{desktop, desktop}));
    EXPECT_EQ(peek.seen, (std::vector<std::string>{"before 1\n", "before 1\nbetween 2\n"}));
    EXPECT_EQ(ReadFile("log.txt"), "before 1\nbetween 2\nafter 3\n");
    Log::Close(c);

    fs::remove("log.txt");
    ctx.gvLogYN = 1;
    Log::Append(ctx);
    logi(ctx, "before %d\n", 1);
    launcher.result = -1;
    EXPECT_EQ(Log::Launch(ctx), 0);
    logi(ctx, "after %d\n", 2);
    EXPECT_EQ(ReadFile("log.txt"),
              "before 1\n" + kStars + " Launch editor fail : xdg-open\n\nafter 2\n");
    EXPECT_TRUE(ctx.gpLog.IsOpen());
    launcher.result = 0;
    setenv("VISUAL", "gedit --new-window", 1);
    Log::Launch(ctx);
    std::ofstream("tools/notepad2.exe") << "#!/bin/sh\n";
    fs::permissions("tools/notepad2.exe", fs::perms::owner_all);
    Log::Launch(ctx);
    setenv("PATH", savedPath.c_str(), 1);
    savedVisual ? setenv("VISUAL", savedVisual->c_str(), 1) : unsetenv("VISUAL");
    EXPECT_EQ(launcher.calls,
              (std::vector<Call>{desktop,
                                 {"gedit", {"--new-window", dir.Sub("log.txt")}},
                                 {dir.Sub("tools/notepad2.exe"), {dir.Sub("log.txt")}}}));
}

}  // namespace
