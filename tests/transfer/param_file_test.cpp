// Parameter files against the simulated instrument: saved files byte for byte, loads onto the
// pages and the files that are refused, the dialogs, the working directory on every way out,
// files that cannot be made or read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/selector.h"
#include "log/log_errors.h"
#include "params/locator.h"
#include "platform/ui/constants.h"
#include "transfer/param_file.h"
#include "transfer_fixture.h"

namespace {

namespace fs = std::filesystem;
using transfertest::TransferTest;

// The simulated instrument's configuration block as a file, without the RTU and LOCK lines.
const std::string kBlockFw1 =
    "0000\t1\n0001\t0\n0002\t0\n0003\t0\n0004\t1000\n0005\t0\n0006\t0\n0007\t1000\n"
    "0008\t5\n0009\t0\n000a\t0\n000b\t3277\n000c\t16384\n000d\t1\n000e\t3\n"
    "000f\t1\n0010\t0\n0011\t800\n0012\t2\n0013\t2\n0014\t0\n0015\t100\n0016\t2\n"
    "0017\t0\n0018\t5000\n0019\t0\n001a\t1000\n001b\t400\n001c\t2000\n";
const std::string kRtuLock = "001d\t1\n001e\t0\n";
const std::string kEnd = "ffff\t0\n";

// text with each `from` replaced by its `to`.
std::string Edited(std::string text,
                   std::initializer_list<std::pair<std::string, std::string>> edits) {
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class ParamFileTest : public TransferTest {
  protected:
    void SetUp() override {
        TransferTest::SetUp();
        fs::create_directories(root_ / "ParameterFile");
    }

    fs::path Dir() { return root_ / "ParameterFile"; }
    fs::path Bin() { return root_ / "bin"; }
    int Menu(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvG104);
        return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
    }
    // The save and load commands with the dialog answered by `path`.
    int Save(const std::string& path) {
        fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, path);
        return Menu("SAVE_FILE");
    }
    int Load(const std::string& path) {
        fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
        return Menu("LOAD_FILE");
    }
    // A file in ParameterFile, loaded.
    int LoadText(const std::string& text) {
        std::ofstream(Dir() / "set.txt", std::ios::binary) << text;
        return Load((Dir() / "set.txt").string());
    }
    const ui::HeadlessFrontEnd::Popup& LastPopup() { return fe.Popups().back(); }
    std::string Log() {
        ctx.gpLog.Flush();
        return Slurp("log.txt");
    }
    void ExpectInBin() { EXPECT_EQ(fs::current_path(), Bin()); }
    // FILT on the page, as if typed in without its commit.
    void SetFilt(int v) { rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), v); }
};

// --- Saving -----------------------------------------------------------------------------------

TEST_F(ParamFileTest, FirmwareTwoSavesHeaderThirtyOneRegistersAndTerminator) {
    StartWith(104, 2);
    Requests();
    EXPECT_EQ(Save("a.txt"), 0);
    const std::string file = Slurp((Dir() / "a.txt").string());
    EXPECT_EQ(file, "1f00\t104\n" + kBlockFw1 + kRtuLock + kEnd);
    EXPECT_EQ(LineCount(file), 33);
    // A save reads the pages only.
    EXPECT_TRUE(Requests().empty());
    ExpectInBin();

    ASSERT_EQ(fe.Popups().size(), 1u);
    const ui::FileSelectRequest& r = LastPopup().request;
    EXPECT_EQ(LastPopup().type, ui::HeadlessFrontEnd::Popup::Type::FileSelect);
    EXPECT_EQ(r.title, "save file");
    EXPECT_EQ(fs::path(r.defaultDirectory), fs::canonical(Dir()));
    EXPECT_EQ(r.fileTypeList, "*.txt");
    EXPECT_TRUE(r.saveButton);
    EXPECT_FALSE(r.restrictDirectory);
    EXPECT_FALSE(r.restrictExtension);
    EXPECT_TRUE(r.allowCancel);
    EXPECT_TRUE(r.allowMakeDirectory);
}

TEST_F(ParamFileTest, FirmwareOneSavesNoFrameFormatOrLockLine) {
    StartWith(106, 1);
    EXPECT_EQ(Save("fw1.txt"), 0);
    const std::string file = Slurp((Dir() / "fw1.txt").string());
    EXPECT_EQ(file, "1f00\t106\n" + kBlockFw1 + kEnd);
    EXPECT_EQ(LineCount(file), 31);
}

TEST_F(ParamFileTest, SavedValuesAreRawRegisterValuesNotTheShownOnes) {
    StartWith(104, 2);
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "DP"), 1), 0);
    ASSERT_DOUBLE_EQ(Cfg("HILT").number, 100.0);  // 1000 shown with one decimal
    ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "A1SP"), 12.5), 0);
    ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 17), 0);
    rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "LOCK"), 1);
    EXPECT_EQ(Save("dp.txt"), 0);
    EXPECT_EQ(Slurp((Dir() / "dp.txt").string()),
              Edited("1f00\t104\n" + kBlockFw1 + kRtuLock + kEnd, {{"0002\t0\n", "0002\t1\n"},
                                                                   {"0008\t5\n", "0008\t17\n"},
                                                                   {"0011\t800\n", "0011\t125\n"},
                                                                   {"001e\t0\n", "001e\t1\n"}}));
}

TEST_F(ParamFileTest, TheProposedNameIsTheLocalDateAndTime) {
    StartWith(104, 2);
    sys::VirtualClock& clock = fe.VirtualClock();
    clock.SetLocalStart(sys::AddSeconds({2024, 2, 29, 23, 59, 59},
                                        -static_cast<long long>(std::floor(clock.Now()))));
    EXPECT_EQ(conf::mf_104_Para_To_FILE__Date_Time_str(ctx), "20240229_235959_Tarnel.txt");
    Menu("SAVE_FILE");  // cancelled
    EXPECT_EQ(LastPopup().request.defaultFileSpec, "20240229_235959_Tarnel.txt");
    fe.AdvanceTime(1.0);
    Menu("SAVE_FILE");
    EXPECT_EQ(LastPopup().request.defaultFileSpec, "20240301_000000_Tarnel.txt");
}

TEST_F(ParamFileTest, SaveMakesTheFolderWhenMissingAndWritesWhereTheTechnicianChose) {
    StartWith(104, 2);
    fs::remove_all(Dir());
    EXPECT_EQ(Save("new.txt"), 0);
    EXPECT_TRUE(fs::is_directory(Dir()));
    EXPECT_TRUE(fs::exists(Dir() / "new.txt"));
    ExpectInBin();

    // A folder chosen in the dialog takes effect.
    fs::create_directories(root_ / "stick");
    EXPECT_EQ(Save((root_ / "stick" / "copy.txt").string()), 0);
    EXPECT_EQ(Slurp((root_ / "stick" / "copy.txt").string()), Slurp((Dir() / "new.txt").string()));
    EXPECT_FALSE(fs::exists(Dir() / "copy.txt"));
    ExpectInBin();

    // Saving over a file replaces it.
    SetFilt(44);
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, (Dir() / "new.txt").string());
    EXPECT_EQ(Menu("SAVE_FILE"), 0);
    EXPECT_NE(Slurp((Dir() / "new.txt").string()).find("0008\t44\n"), std::string::npos);
}

// --- Loading ----------------------------------------------------------------------------------

TEST_F(ParamFileTest, AFirmwareTwoFileRestoresEverySettingOnThePagesOnly) {
    StartWith(104, 2);
    const std::string file = Edited("1f00\t104\n" + kBlockFw1 + "001d\t3\n001e\t1\n" + kEnd,
                                    {{"0002\t0\n", "0002\t1\n"},
                                     {"0008\t5\n", "0008\t17\n"},
                                     {"000d\t1\n", "000d\t7\n"},
                                     {"000e\t3\n", "000e\t1\n"},
                                     {"0015\t100\n", "0015\t-25\n"}});
    Requests();
    EXPECT_EQ(LoadText(file), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Cfg("DP").index, 1);
    EXPECT_DOUBLE_EQ(Cfg("HILT").number, 100.0);
    EXPECT_DOUBLE_EQ(Cfg("A2SP").number, -2.5);
    EXPECT_EQ(Cfg("FILT").number, 17);
    EXPECT_EQ(Cfg("RTU").index, 3);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    // Station and baud rate go to the parameter controls, not to the link.
    EXPECT_EQ(Cfg("ID").number, 7);
    EXPECT_EQ(Cfg("BR").index, 1);
    EXPECT_EQ(Main("ID_COMM").number, 1);
    EXPECT_EQ(Main("BR_COMM").index, 3);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelDpp), 1);
    EXPECT_EQ(Status(), "Read OK");
    ExpectInBin();

    // Saved again, the same bytes come back.
    EXPECT_EQ(Save("again.txt"), 0);
    EXPECT_EQ(Slurp((Dir() / "again.txt").string()), file);
}

TEST_F(ParamFileTest, AFirmwareOneFileKeepsFrameFormatAndLock) {
    StartWith(104, 2);
    rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "RTU"), 2);
    rt.SetCtrlIndex(ctx.gvCFG, Id(ctx.gvCFG, "LOCK"), 1);
    EXPECT_EQ(LoadText(Edited("1f00\t104\n" + kBlockFw1 + kEnd, {{"0008\t5\n", "0008\t9\n"}})), 0);
    EXPECT_EQ(Cfg("FILT").number, 9);
    EXPECT_EQ(Cfg("RTU").index, 2);
    EXPECT_EQ(Cfg("LOCK").index, 1);
}

TEST_F(ParamFileTest, EveryRecordReadIsLogged) {
    StartWith(104, 2);
    EXPECT_EQ(LoadText("1f00\t104\n0008\t-3\n0040\t7\nffff\t0\n0abc\t1\n"), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("<1f00> [104]\n<0008> [-3]\n<0040> [7]\n<ffff> [0]\n"), std::string::npos);
    EXPECT_EQ(log.find("<0abc>"), std::string::npos);  // after the terminator: not read
}

TEST_F(ParamFileTest, UnknownAddressesAreSkipped) {
    StartWith(104, 2);
    EXPECT_EQ(LoadText("1f00\t104\n001f\t0\n1f04\t0\n0040\t3\n1f00\t106\n0x0008\t+21\n"
                       "12345678\t1\nffff\t0\n"),
              0);
    EXPECT_EQ(Cfg("FILT").number, 21);
    EXPECT_EQ(Main("RS485").state, 1);
    EXPECT_EQ(Main("DIGIT").index, 1);
}

TEST_F(ParamFileTest, AFileWithoutTerminatorIsReadToItsEnd) {
    StartWith(104, 2);
    // Edited on another system: carriage returns, blank lines, no final line feed.
    EXPECT_EQ(LoadText("\r\n1f00\t104\r\n\r\n0008 31\r\n0011\t650"), 0);
    EXPECT_EQ(Cfg("FILT").number, 31);
    EXPECT_EQ(Cfg("A1SP").number, 650);
}

TEST_F(ParamFileTest, NothingAfterTheTerminatorOrTheThirtyFirstLineIsRead) {
    StartWith(104, 2);
    EXPECT_EQ(LoadText("1f00\t104\n0008\t40\nffff\t0\n0008\t41\n"), 0);
    EXPECT_EQ(Cfg("FILT").number, 40);

    std::string file = "1f00\t104\n" + kBlockFw1 + kRtuLock;  // 31 parameter lines
    file += "0008\t77\nthis line is never read\n";
    EXPECT_EQ(LoadText(file), 0);
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Status(), "Read OK");
}

TEST_F(ParamFileTest, AValueOutOfRangeLoadsAsItIsAndShowsRed) {
    StartWith(104, 2);
    EXPECT_EQ(LoadText("1f00\t104\n0008\t1500\n0015\t20000\nffff\t0\n"), 0);
    EXPECT_EQ(Cfg("FILT").number, 1500);
    EXPECT_EQ(Cfg("A2SP").number, 20000);
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorOutOfRange);
    EXPECT_EQ(Cfg("A2SP").textBgColor, conf::kColorOutOfRange);
    EXPECT_EQ(Cfg("A1SP").textBgColor, conf::kColorNormal);
}

// --- Refused files: the pages stay as they were ------------------------------------------------

struct Refusal {
    const char* what;
    int code, firmware;  // the instrument
    std::string file;
    const char* status;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.what;
}

class RefusedFile : public ParamFileTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedFile, LeavesThePagesAndTheStatusColour) {
    const Refusal& c = GetParam();
    StartWith(c.code, c.firmware);
    ASSERT_EQ(Status(), "Read OK");
    EXPECT_EQ(LoadText(c.file), 0) << c.what;
    EXPECT_EQ(Status(), c.status) << c.what;
    EXPECT_EQ(StatusColour(), 0x008000) << c.what;
    EXPECT_EQ(Cfg("FILT").number, 5) << c.what;
    EXPECT_EQ(Cfg("DP").index, 0) << c.what;
    ExpectInBin();
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedFile,
    ::testing::Values(
        Refusal{"empty", 104, 2, "", "File format error"},
        Refusal{"first line no header", 104, 2, "0008\t17\n0002\t1\nffff\t0\n",
                "File format error"},
        Refusal{"header of another address", 104, 2, "1f01\t104\n0008\t17\n", "File format error"},
        Refusal{"damaged line after good ones", 104, 2, "1f00\t104\n0002\t1\n0008\t17\n0004\tabc\n",
                "File format error"},
        Refusal{"line with a name", 104, 2, "1f00\t104\n0002\t1\n0008\t17\tFILT\n",
                "File format error"},
        Refusal{"value too big for a number", 104, 2, "1f00\t104\n0002\t1\n0008\t99999999999\n",
                "File format error"},
        Refusal{"binary", 104, 2,
                std::string("1f00\t104\n0002\t1\n\x7f"
                            "ELF\0\0",
                            20),
                "File format error"},
        Refusal{"endless line", 104, 2, "1f00\t104\n0002\t1\n" + std::string(5000, '7'),
                "File format error"},
        Refusal{"Quillet set on Tarnel", 104, 2, "1f00\t106\n0002\t1\n0008\t17\n", "HW not match"},
        Refusal{"Tarnel set on Quillet", 106, 1, "1f00\t104\n0002\t1\n0008\t17\n", "HW not match"},
        Refusal{"model code in hex", 104, 2, "1f00\t68\n0002\t1\n0008\t17\n", "HW not match"}),
    [](const ::testing::TestParamInfo<Refusal>& p) {
        std::string name = p.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST_F(ParamFileTest, WithoutAnInstrumentEveryFileIsRefused) {
    StartWith(104, 2);
    SilenceFrom(0);
    PressRead();
    ASSERT_EQ(ctx.gvHW, 255);
    for (const char* header : {"1f00\t104\n", "1f00\t255\n"}) {
        EXPECT_EQ(LoadText(std::string(header) + "0008\t17\n"), 0);
        EXPECT_EQ(Status(), "HW not match") << header;
        EXPECT_EQ(StatusColour(), 0xFF0000);  // "Read NG" left it red
        EXPECT_EQ(Cfg("FILT").number, 5);
    }
}

// --- Dialogs and the working directory -------------------------------------------------------

TEST_F(ParamFileTest, CancellingEitherDialogChangesNothing) {
    StartWith(104, 2);
    EXPECT_EQ(Menu("SAVE_FILE"), conf::kParamFileCancelled);
    ExpectInBin();
    EXPECT_TRUE(fs::is_empty(Dir()));

    std::ofstream(Dir() / "set.txt") << "1f00\t104\n0008\t17\n";
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileCancelled);
    ExpectInBin();
    const ui::FileSelectRequest& r = LastPopup().request;
    EXPECT_EQ(r.title, "open file");
    EXPECT_EQ(r.defaultFileSpec, "*.txt");
    EXPECT_EQ(r.fileTypeList, "*.txt");
    EXPECT_FALSE(r.saveButton);
    EXPECT_FALSE(r.restrictDirectory);
    EXPECT_EQ(fs::path(r.defaultDirectory), fs::canonical(Dir()));

    // A name typed in that does not exist is no file to load.
    fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, (Dir() / "set.txt").string());
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileCancelled);
    EXPECT_EQ(Cfg("FILT").number, 5);
    EXPECT_EQ(Status(), "Read OK");
    ExpectInBin();
}

TEST_F(ParamFileTest, TheRangeCheckFollowsTheLoadWhateverItGave) {
    StartWith(104, 2);
    SetFilt(2000);
    ASSERT_EQ(Cfg("FILT").textBgColor, conf::kColorNormal);
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileCancelled);
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorOutOfRange);
}

TEST_F(ParamFileTest, ACommandStartedOutsideBinReturnsWhereItStarted) {
    StartWith(104, 2);
    fs::create_directories(root_ / "tools");
    fs::current_path(root_ / "tools");
    EXPECT_EQ(Save("t.txt"), 0);
    EXPECT_TRUE(fs::exists(Dir() / "t.txt"));
    EXPECT_EQ(fs::current_path(), root_ / "tools");
    EXPECT_EQ(Load((Dir() / "t.txt").string()), 0);
    EXPECT_EQ(fs::current_path(), root_ / "tools");
    fs::current_path(Bin());
}

// --- Files that cannot be made or read -------------------------------------------------------

class FileFailure : public ParamFileTest {
  protected:
    void ExpectReported(int code, const std::string& path, const char* status) {
        ASSERT_FALSE(fe.Popups().empty());
        EXPECT_EQ(LastPopup().type, ui::HeadlessFrontEnd::Popup::Type::Message);
        EXPECT_EQ(LastPopup().title, "m104___main :: " + std::to_string(code));
        EXPECT_EQ(LastPopup().text, "open file NG :: " + path);
        const std::string mark = conf::kLogErrorMark;
        EXPECT_NE(Log().find(mark + " m104___main :: " + std::to_string(code) + " \n" + mark +
                             " open file NG :: " + path + " \n\n"),
                  std::string::npos);
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(StatusColour(), 0xFF0000);
        ExpectInBin();
    }
};

TEST_F(FileFailure, AFileThatCannotBeCreated) {
    StartWith(104, 2);
    const std::string path = (root_ / "no such folder" / "a.txt").string();
    EXPECT_EQ(Save(path), conf::kParamFileFailed);
    ExpectReported(1233117, path, "Parameter file not saved");
}

TEST_F(FileFailure, AFullDiskLeavesNoFile) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    StartWith(104, 2);
    EXPECT_EQ(Save("/dev/full"), conf::kParamFileFailed);
    ExpectReported(1233129, "/dev/full", "Parameter file not saved");
    EXPECT_TRUE(fs::exists("/dev/full"));  // only a regular file is removed
}

TEST_F(FileFailure, AFolderThatCannotBeMade) {
    StartWith(104, 2);
    fs::remove_all(Dir());
    std::ofstream(Dir()) << "in the way";
    EXPECT_EQ(Menu("SAVE_FILE"), conf::kParamFileFailed);
    ExpectReported(1233101, "ParameterFile", "Cannot open folder ParameterFile");
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileFailed);
    ExpectReported(1233101, "ParameterFile", "Cannot open folder ParameterFile");
    // Neither dialog was shown.
    for (const auto& p : fe.Popups())
        EXPECT_NE(p.type, ui::HeadlessFrontEnd::Popup::Type::FileSelect);
}

TEST_F(FileFailure, AFileThatCannotBeRead) {
    StartWith(104, 2);
    const std::string gone = (Dir() / "gone.txt").string();
    EXPECT_EQ(Load(gone), conf::kParamFileFailed);
    ExpectReported(1233143, gone, "Parameter file not read");

    fs::create_directories(Dir() / "folder.txt");
    EXPECT_EQ(Load((Dir() / "folder.txt").string()), conf::kParamFileFailed);
    ExpectReported(1233143, (Dir() / "folder.txt").string(), "Parameter file not read");
    EXPECT_EQ(Cfg("FILT").number, 5);
}

}  // namespace
