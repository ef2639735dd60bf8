// An input-calibration step (model A's first, RTD.L, and model B's first, mV.L) with each
// fault: struck on the preset write that begins it, on a reading of its timer, and on the store
// that ends it. The status, the button and timer, the traces, the time, what the instrument
// stored, and the step completed once the line is clean.

#include <functional>

#include "configurator_faults.h"

namespace faulttest {
namespace {

class CalibrationFaults : public ConfiguratorFaults {
  protected:
    void SetUp() override {
        ConfiguratorFaults::SetUp();
        std::ofstream("log_ADC.txt").close();
        StartInstrument();
        rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    }
    int PressStep() { return rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, "IC_B_0")); }
    int StepButton() { return Cal("IC_B_0").state; }
    bool StepTimerOn() { return rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T"))->enabled; }
    void StepTick() { rt.TimerTick(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T")); }
    // The store of step 0: model A writes code 1 to RAM, model B code 4 (polarity 0).
    int StoreCode() { return IsB() ? 4 : 1; }
    // Strikes request `after` of what `action` sends; the trace it left in `file`, checked for
    // the strike and for the time it took.
    std::string StruckTrace(int after, const char* file, const std::function<void()>& action) {
        Arm(after);
        const std::size_t mark = Size(file);
        const double took = Timed(action);
        const std::string trace = Since(file, mark);
        ExpectStruckTrace(trace);
        ExpectWithinTimeouts(took, trace);
        return trace;
    }
    int Stored() {
        int n = 0;
        for (const sim::CalibrationRecord& r : inst->Calibrations())
            if (r.command == StoreCode()) ++n;
        return n;
    }
};

TEST_P(CalibrationFaults, TheBeginPresetWriteStruck) {
    // The device check, then the input type.
    const std::string trace = StruckTrace(1, "log.txt", [&] { PressStep(); });
    if (Fails()) {
        ExpectStatus("Write NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
        // No reading starts: the button is off again, the timer stays off.
        EXPECT_EQ(StepButton(), 0);
        EXPECT_FALSE(StepTimerOn());
    } else {
        ExpectStatus("Write OK", 0x008000);
        EXPECT_EQ(StepButton(), 1);
        EXPECT_TRUE(StepTimerOn());
    }
    AddRow("Calibration step begin (preset write struck)", StatusCell(), "none written");

    ClearLine();
    if (!Fails()) PressStep();  // ends the step that began
    const std::size_t clean = Size("log.txt");
    PressStep();
    ExpectStatus("Write OK", 0x008000);
    EXPECT_TRUE(StepTimerOn());
    ExpectClean(Since("log.txt", clean));
}

TEST_P(CalibrationFaults, AReadingStruck) {
    PressStep();
    ASSERT_TRUE(StepTimerOn());
    StepTick();
    ASSERT_EQ(Status(), "Read OK");
    fe.VirtualClock().Advance(0.5);
    const std::string trace = StruckTrace(0, "log_ADC.txt", [&] { StepTick(); });
    // The step reads on whatever a tick met.
    EXPECT_TRUE(StepTimerOn());
    EXPECT_EQ(StepButton(), 1);
    if (Fails()) {
        ExpectStatus("Read NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
    } else {
        ExpectStatus("Read OK", 0x008000);
    }
    AddRow("Calibration step reading (timer tick struck)", StatusCell(),
           "`log_ADC.txt` holds the step's trace",
           "nothing: the failed request ends `log_ADC.txt`");

    ClearLine();
    const std::size_t clean = Size("log_ADC.txt");
    StepTick();
    ExpectStatus("Read OK", 0x008000);
    ExpectClean(Since("log_ADC.txt", clean));
    // The store goes through: the trace file is closed whole.
    PressStep();
    ExpectStatus("Write OK", 0x008000);
    EXPECT_EQ(Stored(), 1);
    // The step's trace file keeps the struck reading and the ones after it.
    EXPECT_NE(Slurp("log_ADC.txt").find(TxLine(Struck())), std::string::npos);
}

TEST_P(CalibrationFaults, TheStoreStruck) {
    PressStep();
    StepTick();
    ASSERT_EQ(Status(), "Read OK");
    // The device check, then the store.
    const std::string trace = StruckTrace(1, "log.txt", [&] { PressStep(); });
    EXPECT_FALSE(StepTimerOn());
    if (Fails()) {
        ExpectStatus("Write NG", 0xFF0000);
        ExpectTraceEndsWithFailure(trace);
        // The button is on again: switching it off tries the store again.
        EXPECT_EQ(StepButton(), 1);
    } else {
        ExpectStatus("Write OK", 0x008000);
        EXPECT_EQ(StepButton(), 0);
        // A store whose answer was spoilt was carried out all the same, and again on the retry.
        EXPECT_EQ(Stored(), Kind() == sim::FaultKind::kException ? 1 : 2);
    }
    AddRow("Calibration step store (end write struck)", StatusCell(), "none written");

    ClearLine();
    if (!Fails()) return;
    // A silent or spoilt answer may hide a store that was carried out; the retry stores again.
    const int storedBefore = Stored();
    const std::size_t clean = Size("log.txt");
    PressStep();
    ExpectStatus("Write OK", 0x008000);
    EXPECT_EQ(StepButton(), 0);
    EXPECT_EQ(Stored(), storedBefore + 1);
    ExpectClean(Since("log.txt", clean));
}

INSTANTIATE_TEST_SUITE_P(Matrix, CalibrationFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
