// Each configurator stage that talks to the instrument, both models, with one of its requests
// struck by each fault: the status, the buttons and timers, the traces, the time, the files on
// disk, what reached the instrument, and the stage run again once the line is clean.

#include "fault_fixture.h"
#include "monitor/pv_record.h"

namespace faulttest {
namespace {

class StageFaults : public ConfiguratorFaults {
  protected:
    // --- Input calibration: model A's first step (RTD.L), model B's (mV.L) ---
    int PressStep() { return rt.UserToggle(ctx.gvCAL, Id(ctx.gvCAL, "IC_B_0")); }
    int StepButton() { return Cal("IC_B_0").state; }
    bool StepTimerOn() { return rt.GetControl(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T"))->enabled; }
    void StepTick() { rt.TimerTick(ctx.gvCAL, Id(ctx.gvCAL, "ADC_T")); }
    // The stores of step 0: model A writes code 1 to RAM, model B code 4 (polarity 0).
    int Stored() {
        int n = 0;
        for (const sim::CalibrationRecord& r : inst->Calibrations())
            n += r.command == (IsB() ? 4 : 1);
        return n;
    }

    // --- Write-all: the buffer files as the write left them, every line, none cut short ---
    std::string ExpectBuffersWhole() {
        if (IsB()) {
            const std::string b16 = Slurp("W_para_buff_16.txt");
            EXPECT_EQ(Lines(b16), 16) << b16;
            EXPECT_TRUE(b16.ends_with("\n001e\t       0\tLOCK\n")) << b16;
            const std::string b32 = Slurp("W_para_buff_32.txt");
            EXPECT_EQ(Lines(b32), 9) << b32;
            EXPECT_EQ(b32.substr(b32.rfind('\n', b32.size() - 2) + 1, 5), "1009\t") << b32;
            return "`W_para_buff_16.txt` whole (16 lines), `W_para_buff_32.txt` whole (9 lines)";
        }
        const std::string buffer = Slurp("W_para_buff.txt");
        EXPECT_EQ(Lines(buffer), 26) << buffer;
        EXPECT_EQ(buffer.substr(0, 5), "001e\t") << buffer;
        EXPECT_EQ(buffer.substr(buffer.rfind('\n', buffer.size() - 2) + 1, 5), "001c\t") << buffer;
        return "`W_para_buff.txt` whole (26 lines, `001c` last)";
    }
};

// An input-calibration step struck on the preset write that begins it, then on a reading of its
// timer, then on the store that ends it, each run again on the clean line.
TEST_P(StageFaults, CalibrationStepBeginReadingAndStoreStruck) {
    std::ofstream("log_ADC.txt").close();
    StartInstrument();
    rt.UserSelectTab(ctx.gvMain, Id(ctx.gvMain, "TAB"), 1);
    // The device check, then the input type.
    StruckTrace(1, "Write NG", "Write OK", "log.txt", [&] { PressStep(); });
    // Failed, no reading starts: the button is off again, the timer stays off.
    EXPECT_EQ(StepButton(), Fails() ? 0 : 1);
    EXPECT_EQ(StepTimerOn(), !Fails());
    AddRow("Calibration step begin (preset write struck)", StatusCell(), "none written");
    ClearLine();
    if (!Fails()) PressStep();  // ends the step that began
    ExpectCleanRun("log.txt", "Write OK", [&] { PressStep(); });
    ASSERT_TRUE(StepTimerOn());

    StepTick();
    ASSERT_EQ(Status(), "Read OK");
    fe.VirtualClock().Advance(0.5);
    inst->TakeLog();
    StruckTrace(0, "Read NG", "Read OK", "log_ADC.txt", [&] { StepTick(); });
    // The step reads on whatever a tick met.
    EXPECT_TRUE(StepTimerOn());
    EXPECT_EQ(StepButton(), 1);
    AddRow("Calibration step reading (timer tick struck)", StatusCell(),
           "`log_ADC.txt` holds the step's trace",
           "nothing: the failed request ends `log_ADC.txt`");
    ClearLine();
    ExpectCleanRun("log_ADC.txt", "Read OK", [&] { StepTick(); });
    const std::string struckReading = TxLine(Struck());
    inst->TakeLog();

    // The device check, then the store.
    const int storedBefore = Stored();
    StruckTrace(1, "Write NG", "Write OK", "log.txt", [&] { PressStep(); });
    EXPECT_FALSE(StepTimerOn());
    // Failed, the button is on again: switching it off tries the store again.
    EXPECT_EQ(StepButton(), Fails() ? 1 : 0);
    // A store whose answer was spoilt was carried out all the same, and again on the retry.
    if (!Fails()) {
        EXPECT_EQ(Stored() - storedBefore, Kind() == sim::FaultKind::kException ? 1 : 2);
    }
    AddRow("Calibration step store (end write struck)", StatusCell(), "none written");
    // The step's trace file keeps the struck reading and the ones after it.
    EXPECT_NE(Since("log_ADC.txt", 0).find(struckReading), std::string::npos);

    ClearLine();
    if (!Fails()) return;
    // A silent or spoilt answer may hide a store that was carried out; the retry stores again.
    const int storedAfter = Stored();
    ExpectCleanRun("log.txt", "Write OK", [&] { PressStep(); });
    EXPECT_EQ(StepButton(), 0);
    EXPECT_EQ(Stored(), storedAfter + 1);
}

// Link start and recovery (the UART button), struck on the read of the link's second values,
// then on the recovery's baud-rate write (after its block read and station write); each time a
// start with the adapter still out, and one on the clean line.
TEST_P(StageFaults, LinkStartStruckOnTheSecondValuesReadThenOnTheBaudRateWrite) {
    StartInstrument();
    for (const int after : {0, 2}) {
        SCOPED_TRACE(after);
        inst->TakeLog();
        // A start that succeeds says nothing on the status line.
        const std::string before = Status();
        const std::string trace = StruckTrace(after, after ? "Write NG" : "Read NG", nullptr,
                                              "log.txt", [&] { Press("UART"); });
        EXPECT_TRUE(Fails() || Status() == before) << Status();
        // Failed, nothing after the struck request was recovered: the port stays as the file
        // opened it.
        EXPECT_EQ(Count(trace, "Open COM ("), Fails() ? 1 : 3) << trace;
        EXPECT_EQ(Count(trace, "Recover ID"), Fails() && !after ? 0 : 1) << trace;
        EXPECT_EQ(Count(trace, "Recover RTU"), Fails() ? 0 : 1) << trace;
        EXPECT_EQ(Main("ID_COMM").number, 1);
        EXPECT_TRUE(!Fails() || Vanish() || com.IsOpen(222));
        AddRow(after ? "Link recovery (baud-rate write struck)"
                     : "Link start (second values read struck)",
               Fails() ? StatusCell() : "unchanged", "none written");

        if (Vanish()) {
            // With the adapter still out, a start cannot open the port: said at once.
            const std::size_t mark = Size("log.txt");
            EXPECT_LT(Timed([&] { Press("UART"); }), 0.01);
            ExpectStatus("Open COM NG", 0xFF0000);
            const std::string log = Since("log.txt", mark);
            EXPECT_NE(log.find(kStars + " " + ctx.Source("__UART") + " :: 22881363 \n" + kStars +
                               " Open COM NG :: err code : "),
                      std::string::npos)
                << log;
            EXPECT_EQ(Count(log, "\tMB.Tx\t"), 0) << log;
        }
        ClearLine();
        // A start on the clean line: the whole recovery, the port at the instrument's settings.
        const std::size_t clean = Size("log.txt");
        Press("UART");
        const std::string cleanTrace = Since("log.txt", clean);
        ExpectClean(cleanTrace);
        EXPECT_EQ(Count(cleanTrace, "Recover RTU\n"), 1) << cleanTrace;
        EXPECT_TRUE(com.IsOpen(222));
        EXPECT_EQ(Main("ID_COMM").number, 1);
        EXPECT_EQ(Main("BR_COMM").index, 3);
        EXPECT_EQ(Main("RTU_COMM").index, 1);
        // The port follows the controls: the next request is answered.
        ExpectCleanRun("log.txt", "Read OK", [&] { PressRead(); });
    }
}

TEST_P(StageFaults, MonitoringTickProcessValueReadStruck) {
    std::ofstream("log_PV.txt").close();
    StartInstrument();
    PressReadPv();
    ASSERT_TRUE(TimerOn());
    Menu("PV_RECORD");
    fe.VirtualClock().Advance(1.0);
    Tick();
    ASSERT_EQ(Status(), "Read OK");
    const std::string path = "../PV Record/" + conf::fn_PV_Record_Name(ctx);
    ASSERT_EQ(Lines(Slurp(path)), 2);

    fe.VirtualClock().Advance(1.0);
    StruckTrace(
        0, "Read NG", "Read OK", "log_PV.txt", [&] { Tick(); }, "log.txt");
    // Watching runs on whatever a tick met; no value, no record.
    EXPECT_TRUE(TimerOn());
    EXPECT_EQ(Main("MSPV_B").state, 1);
    EXPECT_EQ(Lines(Slurp(path)), Fails() ? 2 : 3);
    AddRow("Monitoring tick (PV read struck)", StatusCell(),
           Fails() ? "record file unchanged (no line for the failed tick)"
                   : "one record line appended",
           "nothing: the failed request ends `log_PV.txt`");

    if (Vanish()) {
        // While the adapter is out every tick fails at once and watching runs on.
        fe.VirtualClock().Advance(1.0);
        EXPECT_LT(Timed([&] { Tick(); }), 0.01);
        ExpectStatus("Read NG", 0xFF0000);
        EXPECT_TRUE(TimerOn());
        EXPECT_EQ(Lines(Slurp(path)), 2);
    }
    ClearLine();
    const int lines = Lines(Slurp(path));
    ExpectCleanRun("log_PV.txt", "Read OK", [&] { Tick(); });
    EXPECT_EQ(Lines(Slurp(path)), lines + 1);
    EXPECT_EQ(Slurp(path).rfind("TIME\tPV\t\n", 0), 0u);  // the title stays first
}

// Read-all (the Read button) with a parameter block's read struck, then the parameter file saved
// (needing no line, it is whole whatever happened on it, even with the port gone) and loaded back.
TEST_P(StageFaults, ReadAllBlockReadStruckThenTheFileSavedAndLoaded) {
    StartInstrument();
    // A filter value the pages do not show yet: it comes with the 16-bit block.
    Put(8, 9);
    inst->TakeLog();
    // Model A: device check, display setup, the block. Model B: device check, serial
    // number, display setup, polarity, the 16-bit block, then the 32-bit values.
    const std::string trace =
        StruckTrace(IsB() ? 5 : 2, "Read NG", "Read OK", "log.txt", [&] { PressRead(); });
    EXPECT_EQ(ctx.gr < 0, Fails());
    // What came before the failure stays on the pages, nothing after it is applied.
    const int filt = Fails() && !IsB() ? 5 : 9;
    EXPECT_EQ(Cfg("FILT").number, filt);
    EXPECT_TRUE(!Fails() || Count(trace, "Modbus r RS485") == 0) << trace;
    AddRow("Read-all (block read struck)", StatusCell(), "none written");

    const std::string readStatus = Status();
    std::filesystem::create_directories(root_ / "ParameterFile");
    const std::string path = (root_ / "ParameterFile" / "set.txt").string();
    const std::size_t mark = Size("log.txt");
    fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, path);
    EXPECT_EQ(Menu("SAVE_FILE"), 0);
    // Saving puts nothing on the line and says nothing.
    EXPECT_EQ(Count(Since("log.txt", mark), "\tMB.Tx\t"), 0);
    EXPECT_EQ(Status(), readStatus);
    // Whole: the header with the instrument's code, every parameter, the end (model A).
    const std::string saved = Slurp(path);
    EXPECT_EQ(saved.rfind(IsB() ? "1f00\t105\n" : "1f00\t104\n", 0), 0u) << saved;
    EXPECT_EQ(Lines(saved), IsB() ? 31 : 33) << saved;
    EXPECT_TRUE(IsB() || saved.ends_with("ffff\t0\n")) << saved;
    EXPECT_NE(saved.find("0008\t" + std::to_string(filt) + "\n"), std::string::npos) << saved;
    AddRow("Parameter file save (after the read's block struck)",
           StatusCell() + " (the read's; saving shows none)",
           IsB() ? "file whole: 31 lines, header `1f00 105`"
                 : "file whole: 33 lines, header `1f00 104`, `ffff 0` last",
           "saving adds no request");

    ClearLine();
    Put(8, 11);
    ExpectCleanRun("log.txt", "Read OK", [&] { PressRead(); });
    EXPECT_EQ(Cfg("FILT").number, 11);
    // The file loads back onto the pages once an instrument answers the device check.
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
    EXPECT_EQ(Menu("LOAD_FILE"), 0);
    EXPECT_EQ(Cfg("FILT").number, filt);
}

// Write-all (the Write button) with one register write of the list struck: model A reads the
// instrument back after a failed write, model B does not.
TEST_P(StageFaults, WriteAllListWriteStruck) {
    StartInstrument();
    SetCfg("FILT", 7);
    // Model A: device check, station, baud rate, frame format, then the list from LOCK:
    // TYPE, UNIT, DP, LOLT (struck), ..., FILT later. Model B: device check, the three link
    // registers, the 16 lines of the 16-bit list (FILT among them), then the 32-bit list:
    // LOLT, HILT, SCA.L (struck).
    // Model B reads nothing after a failed write: "Write NG" ends the trace.
    const std::string trace = StruckTrace(IsB() ? 22 : 8, IsB() ? "Write NG" : nullptr, "Write OK",
                                          "log.txt", [&] { Press("WRITE"); });
    const std::string files = ExpectBuffersWhole();
    EXPECT_EQ(ctx.gr < 0, Fails());
    // Model B and a write that got through leave the filter written; model A's read-back shows
    // it was not.
    const bool readBack = Fails() && !IsB();
    EXPECT_TRUE((readBack && Vanish()) || Ram(8) == (readBack ? 5 : 7)) << Ram(8);
    if (readBack) {
        const std::string failed = FailedRequestTrace(Kind(), Struck());
        const std::string after = trace.substr(trace.find(failed) + failed.size());
        // "Write NG", then the whole read, whose own status ends the command.
        EXPECT_EQ(after.rfind("=============Read para\n\n", 0), 0u) << after;
        if (Vanish()) {
            ExpectStatus("Read NG", 0xFF0000);
        } else {
            ExpectStatus("Read OK", 0x008000);
            EXPECT_EQ(Cfg("FILT").number, 5);
        }
    }
    AddRow(IsB() ? "Write-all (32-bit write SCA.L struck)" : "Write-all (list write LOLT struck)",
           StatusCell() + (readBack ? " (the read-back after \"Write NG\")" : ""), files,
           IsB() ? "" : "`=============Read para` and the read-back's requests");

    ClearLine();
    SetCfg("FILT", 8);
    ExpectCleanRun("log.txt", "Write OK", [&] { Press("WRITE"); });
    EXPECT_EQ(Ram(8), 8);
    ExpectBuffersWhole();
}

INSTANTIATE_TEST_SUITE_P(Matrix, StageFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
