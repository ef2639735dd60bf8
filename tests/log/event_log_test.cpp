// The event log file: switches, the run header, the writers, appending, and an unopenable file.

#include "log/event_log.h"
#include "models/model_a.h"

#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

using namespace conf;
using conf_test::ReadFile;
using conf_test::WriteFile;

const std::string kHeaderOn = std::string(49, '=') + "\n\ngvLogYN = 1 \n";

class EventLog : public ::testing::Test, public conf_test::StatusPanel {};

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

// Each switch alone decides its writers: 1 when switched off, and nothing written.
TEST_F(EventLog, SwitchFileFormsDecideWhatIsWritten) {
    struct Case {
        const char* content;  // nullptr: no file
        int logYN, dbgYN;
    };
    for (Case c : {Case{nullptr, 0, 0}, Case{"1", 0, 0}, Case{"x 1", 0, 0}, Case{"1,1", 0, 0},
                   Case{"0 1\n", 0, 1}, Case{"1 0", 1, 0}, Case{"2 1", 0, 1},
                   Case{"\n1\n 1 x", 1, 1}, Case{"11 1", 0, 1}}) {
        SCOPED_TRACE(c.content ? c.content : "(none)");
        std::filesystem::remove("YN_log_dbg.txt");
        std::filesystem::remove("log.txt");
        if (c.content != nullptr) WriteFile("YN_log_dbg.txt", c.content);
        Log::init(ctx);
        EXPECT_EQ(ctx.gvLogYN, c.logYN);
        EXPECT_EQ(ctx.gvdbgYN, c.dbgYN);
        EXPECT_EQ(logs(ctx, "log %s\n", "L"), c.logYN ? 0 : 1);
        EXPECT_EQ(dbgi(ctx, "dbg %d\n", 2), c.dbgYN ? 0 : 1);
        EXPECT_EQ(ReadFile("log.txt"), (c.logYN ? kHeaderOn + "log L\n" : "gvLogYN = 0 \n") +
                                           (c.dbgYN ? "dbg 2\n" : ""));
    }
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

}  // namespace
