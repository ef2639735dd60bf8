// The event log file: switches, the run header, the writers, appending, the error reports, the
// editor, and what may sit at the log's and the switch file's names instead of a file: a FIFO,
// a folder, a full disk, a read-only folder. Start-up never waits on them, and a log that
// cannot be created or written is said once, in a popup and on stderr. The Modbus trace lines.
// The event log and the calibration trace hold every line written up to a kill.

#include "log/event_log.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <optional>

#include "log/log_errors.h"
#include "log/log_launch.h"
#include "log/modbus_trace.h"
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
const std::string kStars = conf::kLogErrorMark;  // "★★★" in Big5

class EventLog : public ::testing::Test, public conf_test::StatusPanel {};

// A log that works says nothing: no popup, no line on stderr.
TEST_F(EventLog, WritersFormatWithoutAFixedBufferAndRunsAppend) {
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

    // The next run appends; Clear empties the file.
    const std::string first = ReadFile("log.txt");
    Log::Close(ctx);
    {
        Context next{rt, launcher, ModelA()};
        Log::init(next);
        logi(next, "run %d\n", 2);
    }
    EXPECT_EQ(ReadFile("log.txt"), first + kHeaderOn + "run 2\n");
    Log::Append(ctx);
    EXPECT_EQ(Log::Clear(ctx), 0);
    logi(ctx, "run %d\n", 3);
    EXPECT_EQ(ReadFile("log.txt"), "run 3\n");
}

// Each switch alone decides its writers: 1 when switched off, and nothing written. A FIFO or
// a folder named like the switch file is no switch file, and start-up never waits on it. The
// switches sit at the start of the file: what follows its first 256 bytes is never read.
TEST_F(EventLog, SwitchFileFormsDecideWhatIsWritten) {
    const std::string beyond = "1" + std::string(300, ' ') + "1";
    // The content (nullptr: no file; "fifo", "dir": that in the file's place), the switches.
    using Case = std::tuple<const char*, int, int>;
    for (auto [given, logYN, dbgYN] :
         {Case{nullptr, 0, 0}, Case{"1", 0, 0}, Case{"x 1", 0, 0}, Case{"1,1", 0, 0},
          Case{"0 1\n", 0, 1}, Case{"1 0", 1, 0}, Case{"2 1", 0, 1}, Case{"\n1\n 1 x", 1, 1},
          Case{"11 1", 0, 1}, Case{"fifo", 0, 0}, Case{"dir", 0, 0}, Case{beyond.c_str(), 0, 0}}) {
        SCOPED_TRACE(given ? given : "(none)");
        fs::remove("YN_log_dbg.txt");
        fs::remove("log.txt");
        ctx.gvLogYN = ctx.gvdbgYN = 1;
        const std::string content = given ? given : "";
        std::optional<FifoGuard> fifo;
        if (content == "fifo") {
            fifo.emplace("YN_log_dbg.txt");
            ASSERT_TRUE(fifo->Made());
        } else if (content == "dir") {
            fs::create_directory("YN_log_dbg.txt");
        } else if (given) {
            WriteFile("YN_log_dbg.txt", content);
        }
        EXPECT_EQ(Log::init(ctx), 0);
        EXPECT_FALSE(fifo && fifo->HadToFree()) << "start-up waited on a FIFO";
        fifo.reset();
        EXPECT_EQ(ctx.gvLogYN, logYN);
        EXPECT_EQ(ctx.gvdbgYN, dbgYN);
        EXPECT_EQ(logs(ctx, "log %s\n", "L"), logYN ? 0 : 1);
        EXPECT_EQ(dbgi(ctx, "dbg %d\n", 2), dbgYN ? 0 : 1);
        EXPECT_EQ(ReadFile("log.txt"),
                  (logYN ? kHeaderOn + "log L\n" : "gvLogYN = 0 \n") + (dbgYN ? "dbg 2\n" : ""));
    }
    EXPECT_TRUE(fe.Popups().empty());
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

// In the log's place: a "fifo", a "folder", a "read-only" folder, a "full" disk; what cannot be
// done ("create" or "write"), and why.
using Trouble = std::tuple<std::string, std::string, int>;

class LogTrouble : public EventLog, public ::testing::WithParamInterface<Trouble> {};

// A log that cannot be created or written is said once, in a popup and on stderr, and every
// write is skipped; the run goes on. A FIFO nobody reads fails the open at once and never holds
// the start; a folder cannot be opened, not even by root; on a full disk the first write that
// fails is said, later ones are not.
TEST_P(LogTrouble, IsSaidOnceAndTheRunGoesOn) {
    const auto& [what, cannot, error] = GetParam();
    WriteFile("YN_log_dbg.txt", "1 1");
    std::optional<FifoGuard> fifo;
    std::optional<test_support::PermissionBitsBind> bind;
    if (what == "fifo") {
        fifo.emplace("log.txt");
        ASSERT_TRUE(fifo->Made());
    } else if (what == "folder") {
        fs::create_directory("log.txt");
    } else if (what == "read-only") {
        ASSERT_EQ(chmod(".", 0555), 0);
        bind.emplace();
    } else {
        fs::create_symlink("/dev/full", "log.txt");
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(Log::init(ctx), 0);
    EXPECT_EQ(ctx.gpLog.IsOpen(), what == "full");
    // Everything that opens or writes the log, a few times over.
    logs(ctx, "%s\n", "one");
    Log::Append(ctx);
    logi(ctx, "%d\n", 2);
    LogWriteAlways(ctx, "three\n");
    WriteErrorReport(ctx.gpLog, "m104___main :: 1", "open file NG :: x.txt");
    EXPECT_EQ(Log::Clear(ctx), 0);
    EXPECT_EQ(logi(ctx, "%d\n", 1) + logs(ctx, "%s\n", "s") + logf(ctx, "%f\n", 1.0), 0);
    EXPECT_EQ(dbgi(ctx, "%d\n", 1) + dbgs(ctx, "%s\n", "s") + dbgf(ctx, "%f\n", 1.0), 0);
    EXPECT_EQ(ctx.gpLog.IsOpen(), what == "full");
    launcher.result = -1;  // the failure line has nowhere to go either
    EXPECT_EQ(Log::Launch(ctx), 0);
    EXPECT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(LogWriteAlways(ctx, "more\n"), -1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(fifo && fifo->HadToFree()) << "the log's open waited on a FIFO";
    bind.reset();
    chmod(".", 0755);
    EXPECT_TRUE(what != "folder" || fs::is_empty("log.txt"));
    const std::string said = "Cannot " + cannot + " log file " +
                             sys::JoinPath(sys::CurrentDir(), "log.txt") + ": " +
                             std::strerror(error);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].type, ui::HeadlessFrontEnd::Popup::Type::Message);
    EXPECT_EQ(fe.Popups()[0].title, "Event log");
    EXPECT_EQ(fe.Popups()[0].text, said);
    EXPECT_EQ(err, said + "\n");
}

INSTANTIATE_TEST_SUITE_P(Places, LogTrouble,
                         ::testing::Values(Trouble{"fifo", "create", ENXIO},
                                           Trouble{"folder", "create", EISDIR},
                                           Trouble{"read-only", "create", EACCES},
                                           Trouble{"full", "write", ENOSPC}));

// Records what the editor would find on disk, and whether the log was still open.
class PeekingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string&, const std::vector<std::string>&) override {
        seen.push_back(ReadFile("log.txt") + (watched->gpLog.IsOpen() ? "(open)" : ""));
        return 0;
    }
    std::vector<std::string> seen;
    Context* watched = nullptr;
};

// Opening the log in an editor: the desktop's opener unless VISUAL names one, notepad2.exe on
// the PATH before both; the log stays open around it, and the editor finds it whole.
TEST_F(EventLog, EditorChoiceAndTheLogAroundIt) {
    const std::string savedPath = std::getenv("PATH");
    const std::string savedVisual = std::getenv("VISUAL") ? std::getenv("VISUAL") : "";
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
    savedVisual.empty() ? unsetenv("VISUAL") : setenv("VISUAL", savedVisual.c_str(), 1);
    EXPECT_EQ(launcher.calls,
              (std::vector<Call>{{"xdg-open", {dir.Sub("log.txt")}},
                                 {"gedit", {"--new-window", dir.Sub("log.txt")}},
                                 {dir.Sub("tools/notepad2.exe"), {dir.Sub("log.txt")}}}));
}

using Bytes = std::vector<std::uint8_t>;

// Trace lines of requests and responses, byte for byte.
class ModbusTrace : public EventLog {
  protected:
    // The frame given in hex ("01 03 ..."), with its CRC filled in.
    static Bytes Sealed(const std::string& hex) {
        Bytes frame;
        for (std::size_t i = 0; i < hex.size(); i += 3)
            frame.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        frame.resize(frame.size() + 2);
        conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
        return frame;
    }
    // Traces the frame one way to `to` and to no stream at all; both give `result`, and only
    // the first writes.
    void Trace(bool tx, const Bytes& f, int result) {
        const int n = static_cast<int>(f.size());
        for (sys::LogStream* to : {&trace, static_cast<sys::LogStream*>(nullptr)})
            EXPECT_EQ(tx ? conf::fn_Log_Tx(ctx, 222, f.data(), n, to)
                         : conf::fn_Log_Rx(ctx, 222, f.data(), n, to),
                      result);
    }
    void SetUp() override { trace.Open("trace.txt", "w"); }
    sys::LogStream trace;
};

// The read and write-words requests are checked line for line with the link's requests.
TEST_F(ModbusTrace, EachFunctionCodeHasItsRequestAndResponseLineAndUnknownOnesAPopup) {
    const struct {
        bool tx;
        const char* frame;  // without its CRC
        const char* line;
        int result = 0;
    } cases[] = {
        {false, "01 03 0c 00 05 00 02 00 10 00 00 00 00 00 03",
         "\tP222\tMB.Rx\t#01.03 (0c)   [0005][0002]  [0010][0000]  [0000][0003]  {ca1c}\tRead\n\n"},
        {true, "01 05 00 0d 00 01", "\tP222\tMB.Tx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n"},
        {true, "00 06 00 1f 00 01",
         "\tP222\tMB.Tx\t#00.06 <001f> [0001] {781d}\t---Broadcast--- Write EEPROM\n"},
        {false, "01 10 10 00 00 02",
         "\tP222\tMB.Rx\t#01.10 <1000> (0002) {4508}\tWrite n Words\n\n"},
        {false, "01 06 00 1f 00 01",
         "\tP222\tMB.Rx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n\n"},
        {true, "01 10 10 00 00 02 04 00 01 86 a0",
         "\tP222\tMB.Tx\t#01.10 <1000> (0002) (04)  [0001][86a0]  {0db7}\tWrite n Words\n"},
        // A byte count that lies (0x7c data bytes, two there) never reads past the frame.
        {false, "01 03 7c 12 34", "\tP222\tMB.Rx\t#01.03 (7c)   [1234]{d52b}\tRead\n\n"},
        // A code the trace does not know: printed short, and a popup for each way.
        {true, "01 07 00 00 00 01", "\tP222\tMB.Tx\t#01.07 \n", -1},
        {false, "01 07 00 00 00 01", "\tP222\tMB.Rx\t#01.07 \n", -1},
    };
    std::string lines;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        Trace(c.tx, Sealed(c.frame), c.result);
        lines += c.line;
    }
    trace.Close();
    EXPECT_EQ(ReadFile("trace.txt"), lines);
    ASSERT_EQ(fe.Popups().size(), 4u);
    for (int i : {0, 1}) {
        EXPECT_EQ(fe.Popups()[i].title, "log Tx[] exception");
        EXPECT_EQ(fe.Popups()[i].text, "not enR, enRo, enWram, enWee, enWmw");
        EXPECT_EQ(fe.Popups()[i + 2].text, "not enR, enRo, enWram, enWee");
    }
}

TEST_F(ModbusTrace, ParameterReadLineAndHexText) {
    WriteFile("YN_log_dbg.txt", "1 0");
    conf::Log::init(ctx);
    conf::Log::Modbus_R(ctx, 0x0011, -1, -1, "A1SP");
    conf::Log::Modbus_R(ctx, 2, 1, 1, "DP");
    // Address and value cut to 16 bits, a decimal wider than its 7 columns, a name with a NUL.
    conf::Log::Modbus_R(ctx, 0x1001F, 0x2ABCD, -12345678, std::string("LO\0X", 4));
    conf::Log::Modbus_R(ctx, 0xFFFF, 0x7FFF, 1234567, "");
    ctx.gvLogYN = 0;
    conf::Log::Modbus_R(ctx, 3, 3, 3, "OFF");  // the switch off: nothing
    ctx.gpLog.Close();
    EXPECT_EQ(ReadFile("log.txt"),
              kHeaderOn +
                  "<0011>\t[ffff]\t     -1   \tA1SP\n<0002>\t[0001]\t      1   \tDP\n"
                  "<001f>\t[abcd]\t-12345678   \tLO\n<ffff>\t[7fff]\t1234567   \t\n");
    std::string hex;
    conf::Log::DATA16_HEX(0x12345, &hex);
    EXPECT_EQ(hex, "2345");
}

// A child process writes through the real writers and the link's traffic trace, then dies by
// SIGKILL; its files must equal those of a run that closed them in order.
using LogKill = linktest::LinkTest;

TEST_F(LogKill, EveryLineWrittenBeforeAKillIsInTheFiles) {
    conf_test::WriteFile("YN_log_dbg.txt", "1 1");
    OpenPort();
    // The run in a child process that then kills itself. Every kind of log line, the traffic
    // last: a stream that held lines back in a buffer loses the trace first.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        using namespace conf;
        Log::init(ctx);
        logi(ctx, "station %d\n", 1);
        logs(ctx, "model %s\n", "A");
        logf(ctx, "PV = %.1f\n", 21.5);
        dbgi(ctx, "retries %d\n", 3);
        Log::Modbus_R(ctx, 0x1000, 0x0005, 5, "SP1");
        Log::err_Open_COM(ctx, ctx.Source("__UART"), 3, -3);
        Log::err_Open_File(ctx, ctx.Source("__File"), 7, "W_para_buff.txt");

        std::array<std::int16_t, 2> v{};
        device.Answer(Sealed({0x01, 0x03, 0x04, 0x00, 0x05, 0x00, 0x06}), 0.005);
        fn_Modbus_Device_RW_16(ctx, 3, 0x1000, 2, v);
        device.Answer(Sealed({0x01, 0x06, 0x00, 0x1f, 0x00, 0x01}), 0.005);
        fn_Modbus_Device_RW_16(ctx, 6, 0x001f, 1);
        for (int i = 0; i < 3; ++i)
            device.StaySilent();
        fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4);

        ctx.gpCAL.Open("log_ADC.txt", "w");
        device.Answer(Sealed({0x01, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02}), 0.005);
        fn_Modbus_Device_RW_16_CAL(ctx, 4, 0x1003, 2, v);
        device.Answer(Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x01}), 0.005);
        fn_Modbus_Device_RW_16_CAL(ctx, 5, 0x000d, 1);
        raise(SIGKILL);
        _exit(1);  // not reached: a child that outlives its kill fails the test
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // The files hold all a run that closed them in order leaves: the writers' and error lines,
    // then the traffic (a read, a write and three attempts that timed out); the calibration
    // trace holds its two exchanges.
    const std::string timedOut =
        "\tP222\tMB.Tx\t#01.03 <1f00> (0004) {43dd}\tRead\n\tP222\tMB.Rx\t" + kStars +
        " COM read Time-out\n\n";
    const std::string traffic =
        "\tP222\tMB.Tx\t#01.03 <1000> (0002) {c0cb}\tRead\n"
        "\tP222\tMB.Rx\t#01.03 (04)   [0005][0006]  {6a30}\tRead\n\n"
        "\tP222\tMB.Tx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n"
        "\tP222\tMB.Rx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n\n" +
        timedOut + timedOut + timedOut;
    EXPECT_EQ(ReadFile("log.txt"), kHeaderOn +
                                       "station 1\nmodel A\nPV = 21.5\nretries 3\n"
                                       "<1000>\t[0005]\t      5   \tSP1\n" +
                                       kStars + " m104__UART :: 3 \n" + kStars +
                                       " Open COM NG :: err code : -3 \n\n" + kStars +
                                       " m104__File :: 7 \n" + kStars +
                                       " open file NG :: W_para_buff.txt \n\n" + traffic);
    EXPECT_EQ(ReadFile("log_ADC.txt"),
              "\tP222\tMB.Tx\t#01.04 <1003> (0002) {850b}\tRead-only\n"
              "\tP222\tMB.Rx\t#01.04 (04)   [0001][0002]  {2b85}\tRead-only\n\n"
              "\tP222\tMB.Tx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n"
              "\tP222\tMB.Rx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n\n");
}

// A write that cannot reach the file says so at once instead of failing later, unseen.
TEST(LogStream, AWriteThatCannotReachTheFileFails) {
    sys::LogStream full;
    ASSERT_TRUE(full.Open("/dev/full", "a"));
    EXPECT_EQ(full.Write("line\n"), -1);
    EXPECT_EQ(full.Printf("PV = %d\n", 5), -1);
    sys::LogStream closed;
    EXPECT_EQ(closed.Write("line\n"), -1);
    EXPECT_EQ(closed.Printf("%s", "x"), -1);
}

}  // namespace
