#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

#include "bench/bench_table.h"
#include "bench/sim_process.h"
#include "sim/instrument.h"

#if SUITE_HAVE_LIBMODBUS
#include "bench/libmodbus_client.h"
#endif

namespace {

using bench::Frame;
using bench::LoggedRequest;

Frame Sealed(Frame f) {
    sim::Seal(&f);
    return f;
}

// What the simulator writes for every outcome, the bench reads back.
TEST(RequestLog, ReadsEveryOutcomeTheSimulatorWrites) {
    struct Case {
        sim::Outcome outcome;
        sim::FaultKind fault;
        int exception;
        Frame answer;
        const char* expected;
    };
    const Frame read = Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01});
    const Case cases[] = {
        {sim::Outcome::kAnswered, sim::FaultKind::kNone, 0, Sealed({0x01, 0x03, 0x02, 0x68, 0x02}),
         "answered"},
        {sim::Outcome::kException, sim::FaultKind::kNone, 2, Sealed({0x01, 0x83, 0x02}),
         "exception (exception 2)"},
        {sim::Outcome::kFaulted, sim::FaultKind::kSilence, 0, {}, "fault silence"},
        {sim::Outcome::kBadFrame, sim::FaultKind::kNone, 0, {}, "bad frame"},
        {sim::Outcome::kOtherStation, sim::FaultKind::kNone, 0, {}, "other station"},
    };
    LoggedRequest r;  // taken again for each line: a parse leaves nothing of the one before
    for (const Case& c : cases) {
        // An answer at once puts the start before the first byte.
        const std::string line =
            sim::FormatLogEntry({.start = -0.003611,
                                 .settings = {19200, serial::kParityNone, 8, 2},
                                 .parityKnown = false,
                                 .request = read,
                                 .outcome = c.outcome,
                                 .exceptionCode = c.exception,
                                 .fault = c.fault,
                                 .answer = c.answer});
        ASSERT_TRUE(bench::ParseRequestLogLine(line, &r)) << line;
        EXPECT_EQ(std::tie(r.at, r.request, r.outcome, r.answer),
                  std::make_tuple(-0.003611, read, std::string(c.expected), c.answer))
            << line;
    }
    for (const char* other :
         {"instrument-sim: stopped", "", "instrument-sim: power cycle -> soon",
          "1.000000 19200 8N2 -> answered", "1.000000 19200 8N2 01 0G -> answered",
          "later 19200 8N2 01 03 -> answered", "1.000000 19200 8N2 01 03 -> answered: 01 3"})
        EXPECT_FALSE(bench::ParseRequestLogLine(other, &r)) << other;
}

bench::Row TableRow(int round, const char* transport, double elapsed, double idle) {
    const bench::Measure suite{
        .taken = true, .tally = {.transactions = 5}, .elapsed = elapsed, .idle = idle};
    return {round, "read-all", transport, suite, {}};
}

// Each network row is set beside the tty row of its own round; a round without a tty row
// counts for nothing, and the verdict goes by the median against the target.
TEST(BenchTable, SetsEachNetworkTransportBesideTheTtyOfItsRound) {
    bench::Table table("libmodbus");
    testing::internal::CaptureStdout();
    table.Add(TableRow(1, "tty", 0.100, 200e-6));
    table.Add(TableRow(1, "tcp", 0.101, 250e-6));
    table.Add(TableRow(1, "rfc2217", 0.1005, 180e-6));
    table.Add(TableRow(2, "tty", 0.100, 200e-6));
    table.Add(TableRow(2, "tcp", 0.106, 300e-6));
    table.Add(TableRow(3, "tcp", 0.900, 900e-6));  // no tty in round 3
    const std::string rows = testing::internal::GetCapturedStdout();
    EXPECT_NE(rows.find("    2  read-all   tcp           5"), std::string::npos) << rows;

    testing::internal::CaptureStdout();
    table.PrintOverBase("tty", 0.5e-3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "over tty per transaction, medians over the rounds (suite; target at most 0.500 "
              "ms):\n"
              "       read-all   tcp        elapsed  +0.700 ms  idle  +0.075 ms  over target\n"
              "       read-all   rfc2217    elapsed  +0.100 ms  idle  -0.020 ms  within target\n");

    testing::internal::CaptureStdout();
    bench::Table ttyOnly("libmodbus");
    ttyOnly.PrintOverBase("tty", 0.5e-3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

#if SUITE_HAVE_LIBMODBUS

// libmodbus against instrument-sim on its pseudo-terminal, answering at once: a device it
// cannot open, every code of each model as recorded, the requests it cannot send or whose
// answer failed, a silent instrument.
TEST(Libmodbus, ReplaysAgainstTheSimulatorAndStopsAtTheFirstFailure) {
    const serial::LineSettings line{19200, serial::kParityNone, 8, 2};
    bench::SimProcess sim;
    bench::LibmodbusClient client;
    bench::Tally tally;
    std::string error;
    EXPECT_EQ(client.Open("/nonexistent/tty", line, &error), -1);
    EXPECT_EQ(error, "/nonexistent/tty: No such file or directory");
    EXPECT_EQ(client.Replay({}, &tally, &error), -1);
    EXPECT_EQ(error, "not open");

    // The simulator started afresh with `args` and the client on its pseudo-terminal, or false.
    const auto start = [&](std::vector<std::string> args) {
        client.Close();
        sim.Stop();
        for (const char* a : {"--no-pacing", "--turnaround", "0", "--log"})
            args.emplace_back(a);
        return sim.Start(INSTRUMENT_SIM_PATH, args, &error) == 0 &&
               client.Open(sim.FirstLine(10.0), line, &error) == 0;
    };
    // A fresh tally for each replay.
    const auto replay = [&](const std::vector<Frame>& frames) {
        tally = bench::Tally{};
        return client.Replay(frames, &tally, &error);
    };
    // The requests the instrument logged since the last look, each with `outcome` if given.
    const auto logged = [&](const char* outcome = nullptr) {
        std::vector<Frame> frames;
        for (const LoggedRequest& r : sim.TakeRequests()) {
            frames.push_back(r.request);
            EXPECT_EQ(r.outcome, outcome ? std::string(outcome) : r.outcome) << sim::Hex(r.request);
        }
        return frames;
    };

    struct Model {
        const char* name;
        std::vector<Frame> frames;
        long bytes;  // requests and answers
    };
    const Model models[] = {
        {"A",
         {Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x04}),
          Sealed({0x01, 0x04, 0x10, 0x00, 0x00, 0x02}),
          Sealed({0x01, 0x05, 0x00, 0x0E, 0x00, 0x03}),
          Sealed({0x01, 0x06, 0x00, 0x0D, 0x00, 0x01})},
         4 * 8 + 13 + 9 + 8 + 8},
        // Two words of one 32-bit value with code 16.
        {"B",
         {Sealed({0x01, 0x10, 0x10, 0x01, 0x00, 0x02, 0x04, 0x00, 0x00, 0x01, 0x2C}),
          Sealed({0x01, 0x03, 0x10, 0x01, 0x00, 0x02})},
         13 + 8 + 8 + 9},
    };
    for (const Model& m : models) {
        SCOPED_TRACE(std::string("model ") + m.name);
        ASSERT_TRUE(start({"--model", m.name})) << error;
        ASSERT_EQ(replay(m.frames), 0) << error;
        EXPECT_EQ(logged("answered"), m.frames);
        EXPECT_EQ(tally.transactions, static_cast<int>(m.frames.size()));
        EXPECT_EQ(tally.bytes, m.bytes);
    }

    ASSERT_TRUE(start({"--model", "A"})) << error;
    struct Case {
        Frame frame;
        bool sent;
        const char* error;
    };
    const Case cases[] = {
        // Code 9's answer is 8 bytes; libmodbus would take 5 and leave the rest on the line.
        {Sealed({0x01, 0x09, 0x00, 0x0E, 0x00, 0x02, 0x04, 0x00, 0x00, 0x00, 0x03}), false,
         "request 2 of 3: function code 9, which libmodbus cannot frame"},
        {Sealed({0x00, 0x05, 0x00, 0x0E, 0x00, 0x03}), false,
         "request 2 of 3: a broadcast, which awaits no answer"},
        // The identity block is read-only: a write is refused with an exception.
        {Sealed({0x01, 0x05, 0x1F, 0x00, 0x00, 0x01}), true,
         "request 2 of 3: an exception answer (2)"},
        {Sealed({0x01, 0x03, 0x7F, 0x00, 0x00, 0x01}), true,
         "request 2 of 3: modbus_read_registers: Illegal data address"},
    };
    const Frame good = Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x01});
    for (const Case& c : cases) {
        EXPECT_EQ(replay({good, c.frame, good}), -1);
        EXPECT_EQ(error, c.error);
        // What was sent reached the instrument as it was; nothing after the failure went out.
        std::vector<Frame> expected{good};
        if (c.sent) expected.push_back(c.frame);
        EXPECT_EQ(logged(), expected) << c.error;
        EXPECT_EQ(tally.transactions, 1);
    }

    // A silent instrument is given up after half a second.
    ASSERT_TRUE(start({"--model", "A", "--fault", "silence"})) << error;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(replay({good}), -1);
    const double waited =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(error, "request 1 of 1: modbus_read_registers: Connection timed out");
    EXPECT_GE(waited, 0.45);
    EXPECT_LT(waited, 2.0);
}

#endif

}  // namespace
