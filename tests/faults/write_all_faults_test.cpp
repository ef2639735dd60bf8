// Write-all (the Write button) with one register write of the list struck by each fault, both
// models: the status (model A reads the instrument back after a failed write, model B does
// not), the trace, the time, the buffer files left on disk, what reached the instrument, and a
// clean write once the line is clean again.

#include "stage_faults.h"

namespace faulttest {
namespace {

class WriteAllFaults : public StageFaults {
  protected:
    void PressWrite() { rt.UserPress(ctx.gvMain, Id(ctx.gvMain, "WRITE")); }
    // The buffer files as the write left them: every line of the list, none cut short.
    std::string ExpectBuffersWhole() {
        if (IsB()) {
            const std::string b16 = Slurp("W_para_buff_16.txt");
            EXPECT_EQ(Lines(b16), 16) << b16;
            EXPECT_EQ(LastLine(b16), "001e\t       0\tLOCK\n") << b16;
            const std::string b32 = Slurp("W_para_buff_32.txt");
            EXPECT_EQ(Lines(b32), 9) << b32;
            EXPECT_EQ(LastLine(b32).substr(0, 5), "1009\t") << b32;
            return "`W_para_buff_16.txt` whole (16 lines), `W_para_buff_32.txt` whole (9 lines)";
        }
        const std::string buffer = Slurp("W_para_buff.txt");
        EXPECT_EQ(Lines(buffer), 26) << buffer;
        EXPECT_EQ(buffer.substr(0, 5), "001e\t") << buffer;
        EXPECT_EQ(LastLine(buffer).substr(0, 5), "001c\t") << buffer;
        return "`W_para_buff.txt` whole (26 lines, `001c` last)";
    }
    static std::string LastLine(const std::string& text) {
        if (text.size() < 2) return text;
        const std::size_t at = text.rfind('\n', text.size() - 2);
        return at == std::string::npos ? text : text.substr(at + 1);
    }
};

TEST_P(WriteAllFaults, AListWriteStruck) {
    StartInstrument();
    SetCfg("FILT", 7);
    // Model A: device check, station, baud rate, frame format, then the list from LOCK:
    // TYPE, UNIT, DP, LOLT (struck), ..., FILT later. Model B: device check, the three link
    // registers, the 16 lines of the 16-bit list (FILT among them), then the 32-bit list:
    // LOLT, HILT, SCA.L (struck).
    // Model B reads nothing after a failed write: "Write NG" ends the trace.
    const std::string trace = StruckTrace(IsB() ? 22 : 8, IsB() ? "Write NG" : nullptr, "Write OK",
                                          "log.txt", [&] { PressWrite(); });
    const std::string files = ExpectBuffersWhole();
    if (Fails()) {
        EXPECT_LT(ctx.gr, 0);
        if (IsB()) {
            EXPECT_EQ(Ram(8), 7);
        } else {
            const std::string failed = FailedRequestTrace(Kind(), Struck());
            const std::string after = trace.substr(trace.find(failed) + failed.size());
            // "Write NG", then the whole read, whose own status ends the command.
            EXPECT_EQ(after.rfind("=============Read para\n\n", 0), 0u) << after;
            if (Vanish()) {
                ExpectStatus("Read NG", 0xFF0000);
            } else {
                ExpectStatus("Read OK", 0x008000);
                // The pages show the instrument again: the filter was never written.
                EXPECT_EQ(Ram(8), 5);
                EXPECT_EQ(Cfg("FILT").number, 5);
            }
        }
    } else {
        EXPECT_EQ(ctx.gr, 0);
        EXPECT_EQ(Ram(8), 7);
    }
    AddRow(IsB() ? "Write-all (32-bit write SCA.L struck)" : "Write-all (list write LOLT struck)",
           StatusCell() + (Fails() && !IsB() ? " (the read-back after \"Write NG\")" : ""), files,
           IsB() ? "" : "`=============Read para` and the read-back's requests");

    ClearLine();
    SetCfg("FILT", 8);
    ExpectCleanRun("log.txt", "Write OK", [&] { PressWrite(); });
    EXPECT_EQ(Ram(8), 8);
    ExpectBuffersWhole();
}

INSTANTIATE_TEST_SUITE_P(Matrix, WriteAllFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
