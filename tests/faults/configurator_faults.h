#pragma once
// A configurator of either model against the simulated instrument, with one fault armed for a
// stage: the cell's model, fault and strike come from the test's parameter. A stage is run with
// one request struck, and run again on the clean line.

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
    bool Vanish() const { return faulttest::Vanish(GetParam()); }
    bool Fails() const { return faulttest::Fails(GetParam()); }

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

    int Press(const char* button) { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, button)); }

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

    // Strikes request `after` of what `action` sends; returns the trace it left in `file`. The
    // trace holds the struck request's attempts with their error lines; the stage took no longer
    // than its attempts allow (counting those it also logged in `also`): the answered ones and
    // the time-outs of the struck ones. The status is `failed` in red with nothing logged after
    // the failed request (it ends the stage), or `ok` in green (null: not checked here).
    std::string StruckTrace(int after, const char* failed, const char* ok, const char* file,
                            const char* also, const std::function<void()>& action) {
        Arm(after);
        const std::size_t mark = Size(file), alsoMark = also ? Size(also) : 0;
        const double took = Timed(action);
        const std::string trace = Since(file, mark);
        const Bytes req = Struck();
        const std::string failure = FailedRequestTrace(Kind(), req);
        const std::string want = Fails() ? failure : RetriedRequestTrace(Kind(), req);
        EXPECT_NE(trace.find(want), std::string::npos) << "want:\n"
                                                       << want << "\ntrace:\n"
                                                       << trace;
        const int attempts = Count(also ? trace + Since(also, alsoMark) : trace, "\tMB.Tx\t");
        const int struck = Fails() ? (Vanish() ? 1 : kAttempts) : 1;
        EXPECT_LE(took, StageBound(attempts, struck)) << attempts << " attempts";
        if (Fails() && failed) {
            ExpectStatus(failed, 0xFF0000);
            EXPECT_TRUE(trace.ends_with(failure)) << "want at the end:\n" << failure << trace;
        } else if (!Fails() && ok) {
            ExpectStatus(ok, 0x008000);
        }
        return trace;
    }
    std::string StruckTrace(int after, const char* failed, const char* ok, const char* file,
                            const std::function<void()>& action) {
        return StruckTrace(after, failed, ok, file, nullptr, action);
    }
    // A run on the clean line: every request answered and read as the answer it is.
    static void ExpectClean(const std::string& trace) {
        EXPECT_EQ(Count(trace, kStars), 0) << trace;
        EXPECT_GT(Count(trace, "\tMB.Tx\t"), 0) << trace;
        EXPECT_EQ(Count(trace, "\tMB.Tx\t"), Count(trace, "\tMB.Rx\t#")) << trace;
    }
    // `action` on the clean line: its status green, every request of it answered.
    void ExpectCleanRun(const char* file, const char* status, const std::function<void()>& action) {
        const std::size_t mark = Size(file);
        action();
        ExpectStatus(status, 0x008000);
        ExpectClean(Since(file, mark));
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
