// Scan's settings, switch and log files with a FIFO, a folder or a full disk at their names:
// nothing waits on them, a failing log is said once, a bad settings file is named in the log.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "popups.h"
#include "scan/com_discovery.h"
#include "scan/distribute.h"
#include "scan/language.h"
#include "scan/scan_log.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using test_support::FifoGuard;

const std::string kMark = "\xA1\xB9\xA1\xB9\xA1\xB9";

class SettingsFiles : public SweepTest {
  protected:
    std::string Said(const char* what, int error) {
        return std::string("Cannot ") + what + " log file " + (root_ / "bin" / "log.txt").string() +
               ": " + std::strerror(error);
    }
    void ExpectSaidOnce(const std::string& text, const std::string& err) {
        int said = 0;
        for (const auto& p : fe.Popups())
            if (p.title == "Event log") {
                ++said;
                EXPECT_EQ(p.text, text);
            }
        EXPECT_EQ(said, 1);
        EXPECT_EQ(err, text + "\n");
    }
};

// A FIFO at the switch or language file's name: switches off, English, the FIFO left alone.
TEST_F(SettingsFiles, StartUpNeverWaitsOnAFifo) {
    {
        FifoGuard switches("YN_log_dbg.txt");
        FifoGuard language("Language_Selection.txt");
        ASSERT_TRUE(switches.Made() && language.Made());
        Start();
        EXPECT_FALSE(switches.HadToFree() || language.HadToFree()) << "start-up waited on a FIFO";
    }
    EXPECT_EQ(ctx.gvLogYN + ctx.gvdbgYN, 0);
    EXPECT_EQ(scan::LangS::GV(ctx), 0);
    EXPECT_FALSE(fs::is_regular_file("Language_Selection.txt"));
}

// A FIFO at a device list's name is a file that cannot be written: reported, not waited on.
TEST_F(SettingsFiles, DeviceListsNeverWaitOnAFifo) {
    Start();
    for (const char* name : {"Dev_Mng_00_All_DEV.txt", "COM__Exist.txt"}) {
        SCOPED_TRACE(name);
        fe.ClearPopups();
        fs::remove(name);
        {
            FifoGuard fifo(name);
            ASSERT_TRUE(fifo.Made());
            scan::ComList::Discover_Ports(ctx);
            EXPECT_FALSE(fifo.HadToFree()) << "the discovery waited on " << name;
        }
        ASSERT_FALSE(fe.Popups().empty());
        EXPECT_EQ(fe.Popups()[0].text, std::string("open file NG :: ") + name);
        fs::remove(name);
    }
}

// Only the start of the switch and language files is read.
TEST_F(SettingsFiles, SwitchAndLanguageFilesAreReadOnlyAsFarAsTheirFieldsGo) {
    Put("YN_log_dbg.txt", "1 1" + std::string(100000, ' ') + "0 0");
    Put("Language_Selection.txt", "2" + std::string(100000, '\n') + "1");
    Start();
    EXPECT_EQ(ctx.gvLogYN, 1);
    EXPECT_EQ(ctx.gvdbgYN, 1);
    EXPECT_EQ(scan::LangS::GV(ctx), 2);
}

TEST_F(SettingsFiles, ALogThatIsAFifoIsSaidOnceAndNeverHoldsTheStart) {
    Put("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    {
        FifoGuard fifo("log.txt");
        ASSERT_TRUE(fifo.Made());
        Start();
        scan::logs(ctx, "%s\n", "one");
        scan::Log::Clear(ctx);
        scan::LogWriteAlways(ctx, "two\n");
        EXPECT_FALSE(fifo.HadToFree()) << "the log's open waited on a FIFO";
    }
    ExpectSaidOnce(Said("create", ENXIO), testing::internal::GetCapturedStderr());
}

TEST_F(SettingsFiles, AFullDiskUnderTheLogIsSaidOnce) {
    fs::create_symlink("/dev/full", "log.txt");
    Put("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    Start();
    scan::logs(ctx, "%s\n", "one");
    scan::dbgi(ctx, "%d\n", 2);
    scan::Log::Clear(ctx);
    scan::LogWriteAlways(ctx, "three\n");
    ExpectSaidOnce(Said("write", ENOSPC), testing::internal::GetCapturedStderr());
}

// A FIFO at the settings file's name is neither written nor read; the log says why.
TEST_F(SettingsFiles, TheHandOverNeverWaitsOnAFifo) {
    Start();
    {
        FifoGuard fifo("COM_Dev_use.txt");
        ASSERT_TRUE(fifo.Made());
        EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 7, 3, 0, 8, 2, 0x6801), -1);
        EXPECT_EQ(scan::fn_Distribute(ctx), -1);
        EXPECT_FALSE(fifo.HadToFree()) << "the hand-over waited on a FIFO";
    }
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(Popups(fe), (Shown{{"M1__Scan_Dev :: 591475", "open file NG :: COM_Dev_use.txt"}}));
    const std::string log = Log();
    EXPECT_NE(log.find(kMark + " COM_Dev_use.txt :: not a regular file \n\n"), std::string::npos)
        << log;
}

// A model code that is not there is named in the log beside the popup of the unknown model.
TEST_F(SettingsFiles, ABadModelCodeIsNamedInTheLog) {
    Start();
    Put("COM_Dev_use.txt", "7\n3\n0\n8\n2\nTarnel");
    EXPECT_EQ(scan::fn_Distribute(ctx), 0);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(Popups(fe), (Shown{{"", "Device HW model unknown"}}));
    const std::string log = Log();
    EXPECT_NE(log.find(kMark + " COM_Dev_use.txt :: line 6: model code is not a number \n\n"),
              std::string::npos)
        << log;
}

}  // namespace
}  // namespace scantest
