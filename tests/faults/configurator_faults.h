#pragma once
// A configurator of either model against the simulated instrument, with one fault armed for a
// stage: the cell's model, fault and strike come from the test's parameter.

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "fault_fixture.h"
#include "tests/support/fixtures.h"

namespace faulttest {

class ConfiguratorFaults : public monitortest::MonitorTest,
                           public ::testing::WithParamInterface<Cell> {
  protected:
    ConfiguratorFaults() : MonitorTest(*GetParam().model) {}

    // Where the models' procedures differ, the cases of model B say what they expect.
    bool IsB() const { return GetParam().model == &conf::ModelB(); }
    sim::FaultKind Kind() const { return GetParam().fault.kind; }
    bool Vanish() const { return Kind() == sim::FaultKind::kVanish; }
    // The struck request fails (every attempt struck, or the port gone).
    bool Fails() const { return Vanish() || GetParam().strike == Strike::kEvery; }

    // The instrument of the cell's model, with the status bits of newer firmware; the log of
    // the start-up's requests discarded.
    void StartInstrument() {
        StartWith(conf_test::HardwareCode(ctx.model), IsB() ? 3 : 8);
        inst->TakeLog();
    }
    // The fault strikes the stage's request number `after` (counting from 0).
    void Arm(int after) { inst->AddFault(MakeFault(Kind(), GetParam().strike, after)); }
    // The line as it was: no fault, the port back, and a pause in which whatever answer was
    // still under way has arrived.
    void ClearLine() {
        inst->ClearFaults();
        inst->Replug();
        fe.VirtualClock().Advance(2.0);
    }

    // The first request the fault struck.
    Bytes Struck() {
        for (const sim::LogEntry& e : inst->Log())
            if (e.fault == Kind()) return e.request;
        ADD_FAILURE() << "the fault struck no request";
        return {0, 3, 0, 0, 0, 0, 0, 0};
    }

    static std::size_t Size(const std::string& path) {
        std::error_code ec;
        const auto n = std::filesystem::file_size(path, ec);
        return ec ? 0 : static_cast<std::size_t>(n);
    }
    std::string Since(const std::string& path, std::size_t mark) {
        ctx.gpLog.Flush();
        ctx.gpCAL.Flush();
        const std::string text = Slurp(path);
        return mark <= text.size() ? text.substr(mark) : text;
    }
    // Virtual seconds the action takes.
    double Timed(const std::function<void()>& action) {
        const double start = fe.VirtualClock().Now();
        action();
        return fe.VirtualClock().Now() - start;
    }

    // The struck request's attempts, with their error lines, in the trace.
    void ExpectStruckTrace(const std::string& trace) {
        const Bytes req = Struck();
        const std::string want =
            Fails() ? FailedRequestTrace(Kind(), req) : RetriedRequestTrace(Kind(), req);
        EXPECT_NE(trace.find(want), std::string::npos) << "want:\n"
                                                       << want << "\ntrace:\n"
                                                       << trace;
    }
    // Nothing is logged after the failed request: it ends the stage.
    void ExpectTraceEndsWithFailure(const std::string& trace) {
        const std::string want = FailedRequestTrace(Kind(), Struck());
        ASSERT_GE(trace.size(), want.size()) << trace;
        EXPECT_EQ(trace.substr(trace.size() - want.size()), want) << trace;
    }
    // The stage took no longer than its attempts allow: the answered ones, and the time-outs of
    // the struck ones.
    void ExpectWithinTimeouts(double seconds, const std::string& traces, double other = 0.0) {
        const int attempts = Count(traces, "\tMB.Tx\t");
        const int struck = Fails() ? (Vanish() ? 1 : kAttempts) : 1;
        EXPECT_LE(seconds, StageBound(attempts, struck, other)) << attempts << " attempts";
    }
    // A run on the clean line: every request answered and read as the answer it is.
    static void ExpectClean(const std::string& trace) {
        EXPECT_EQ(Count(trace, kStars), 0) << trace;
        EXPECT_GT(Count(trace, "\tMB.Tx\t"), 0) << trace;
        EXPECT_EQ(Count(trace, "\tMB.Tx\t"), Count(trace, "\tMB.Rx\t#")) << trace;
    }

    void ExpectStatus(const char* text, int colour) {
        EXPECT_EQ(Status(), text);
        EXPECT_EQ(StatusColour(), colour) << Colour(StatusColour());
    }
    std::string StatusCell() { return "\"" + Status() + "\" " + Colour(StatusColour()); }

    // `after`: what the log holds after the failed request ("" for nothing: it ends the log).
    void AddRow(const std::string& stage, const std::string& status, const std::string& files,
                const std::string& after = "") {
        Record({stage, GetParam().model->id.programName, StrikeName(GetParam()), status,
                ErrorLabel(Kind(), GetParam().strike), files,
                !Fails()        ? "the request again and its answer; the stage goes on"
                : after.empty() ? "nothing: the failed request ends the log"
                                : after});
    }

    static int Lines(const std::string& text) { return Count(text, "\n"); }
};

}  // namespace faulttest
