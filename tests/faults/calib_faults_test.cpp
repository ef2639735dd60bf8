// An input-calibration step (model A's first, RTD.L, and model B's first, mV.L) with each
// fault: struck on the preset write that begins it, on a reading of its timer, and on the store
// that ends it. The status, the button and timer, the traces, the time, what the instrument
// stored, and the step completed once the line is clean.

#include "stage_faults.h"

namespace faulttest {
namespace {

class CalibrationFaults : public StageFaults {
  protected:
    void SetUp() override {
        StageFaults::SetUp();
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
    int Stored() {
        int n = 0;
        for (const sim::CalibrationRecord& r : inst->Calibrations())
            if (r.command == StoreCode()) ++n;
        return n;
    }
};

TEST_P(CalibrationFaults, TheBeginPresetWriteStruck) {
    // The device check, then the input type.
    StruckTrace(1, "Write NG", "Write OK", "log.txt", [&] { PressStep(); });
    // Failed, no reading starts: the button is off again, the timer stays off.
    EXPECT_EQ(StepButton(), Fails() ? 0 : 1);
    EXPECT_EQ(StepTimerOn(), !Fails());
    AddRow("Calibration step begin (preset write struck)", StatusCell(), "none written");

    ClearLine();
    if (!Fails()) PressStep();  // ends the step that began
    ExpectCleanRun("log.txt", "Write OK", [&] { PressStep(); });
    EXPECT_TRUE(StepTimerOn());
}

TEST_P(CalibrationFaults, AReadingStruck) {
    PressStep();
    ASSERT_TRUE(StepTimerOn());
    StepTick();
    ASSERT_EQ(Status(), "Read OK");
    fe.VirtualClock().Advance(0.5);
    StruckTrace(0, "Read NG", "Read OK", "log_ADC.txt", [&] { StepTick(); });
    // The step reads on whatever a tick met.
    EXPECT_TRUE(StepTimerOn());
    EXPECT_EQ(StepButton(), 1);
    AddRow("Calibration step reading (timer tick struck)", StatusCell(),
           "`log_ADC.txt` holds the step's trace",
           "nothing: the failed request ends `log_ADC.txt`");

    ClearLine();
    ExpectCleanRun("log_ADC.txt", "Read OK", [&] { StepTick(); });
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
    StruckTrace(1, "Write NG", "Write OK", "log.txt", [&] { PressStep(); });
    EXPECT_FALSE(StepTimerOn());
    // Failed, the button is on again: switching it off tries the store again.
    EXPECT_EQ(StepButton(), Fails() ? 1 : 0);
    // A store whose answer was spoilt was carried out all the same, and again on the retry.
    if (!Fails()) {
        EXPECT_EQ(Stored(), Kind() == sim::FaultKind::kException ? 1 : 2);
    }
    AddRow("Calibration step store (end write struck)", StatusCell(), "none written");

    ClearLine();
    if (!Fails()) return;
    // A silent or spoilt answer may hide a store that was carried out; the retry stores again.
    const int storedBefore = Stored();
    ExpectCleanRun("log.txt", "Write OK", [&] { PressStep(); });
    EXPECT_EQ(StepButton(), 0);
    EXPECT_EQ(Stored(), storedBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(Matrix, CalibrationFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
