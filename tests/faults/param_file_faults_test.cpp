// A parameter file saved after a read-all that each fault struck, both models: saving needs no
// line, so the file is whole whatever happened on it (even with the port gone), and it loads
// back onto the pages.

#include "configurator_faults.h"

namespace faulttest {
namespace {

class ParamFileFaults : public ConfiguratorFaults {
  protected:
    std::string Dir() { return (root_ / "ParameterFile").string(); }
};

TEST_P(ParamFileFaults, SavedAfterAStruckRead) {
    StartInstrument();
    Put(8, 9);
    inst->TakeLog();
    // The parameter block of the read (model B: its 16-bit block).
    Arm(IsB() ? 4 : 2);
    PressRead();
    const std::string readStatus = StatusCell();
    EXPECT_EQ(Status(), Fails() ? "Read NG" : "Read OK");
    const int filt = static_cast<int>(Cfg("FILT").number);
    EXPECT_EQ(filt, Fails() ? 5 : 9);

    std::filesystem::create_directories(Dir());
    const std::string path = Dir() + "/set.txt";
    const std::size_t mark = Size("log.txt");
    fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, path);
    EXPECT_EQ(Menu("SAVE_FILE"), 0);
    // Saving puts nothing on the line.
    EXPECT_EQ(Count(Since("log.txt", mark), "\tMB.Tx\t"), 0);
    EXPECT_EQ(Status(), readStatus.substr(1, readStatus.find('"', 1) - 1));

    // Whole: the header with the instrument's code, every parameter, the end (model A).
    const std::string saved = Slurp(path);
    EXPECT_EQ(saved.rfind(IsB() ? "1f00\t105\n" : "1f00\t104\n", 0), 0u) << saved;
    EXPECT_EQ(Lines(saved), IsB() ? 31 : 33) << saved;
    if (!IsB()) {
        EXPECT_EQ(saved.substr(saved.size() - 7), "ffff\t0\n") << saved;
    }
    EXPECT_NE(saved.find("0008\t" + std::to_string(filt) + "\n"), std::string::npos) << saved;
    AddRow("Parameter file save (after the read's block struck)",
           "\"" + Status() + "\" " + Colour(StatusColour()) + " (the read's; saving shows none)",
           IsB() ? "file whole: 31 lines, header `1f00 105`"
                 : "file whole: 33 lines, header `1f00 104`, `ffff 0` last",
           "saving adds no request");

    // It loads back onto the pages once an instrument answers the device check.
    ClearLine();
    PressRead();
    SetCfg("FILT", 13);
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
    EXPECT_EQ(Menu("LOAD_FILE"), 0);
    EXPECT_EQ(Cfg("FILT").number, filt);
}

INSTANTIATE_TEST_SUITE_P(Matrix, ParamFileFaults, ::testing::ValuesIn(Cells()), CellName);

}  // namespace
}  // namespace faulttest
