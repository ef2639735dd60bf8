// Parameter files against the simulated instrument, both models: saved files byte for byte,
// loads onto the pages and the files that are refused, the dialogs and the working directory,
// files that cannot be made or read.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "log/log_errors.h"
#include "params/locator.h"
#include "tests/support/file_trouble.h"
#include "tests/support/fixtures.h"
#include "transfer/param_file.h"

namespace {

namespace fs = std::filesystem;
using transfertest::Edited;
using transfertest::TransferTest;

// The simulated instrument's configuration block as a file, without the RTU and LOCK lines.
const std::string kBlockFw1 =
    "0000\t1\n0001\t0\n0002\t0\n0003\t0\n0004\t1000\n0005\t0\n0006\t0\n0007\t1000\n"
    "0008\t5\n0009\t0\n000a\t0\n000b\t3277\n000c\t16384\n000d\t1\n000e\t3\n"
    "000f\t1\n0010\t0\n0011\t800\n0012\t2\n0013\t2\n0014\t0\n0015\t100\n0016\t2\n"
    "0017\t0\n0018\t5000\n0019\t0\n001a\t1000\n001b\t400\n001c\t2000\n";
const std::string kRtuLock = "001d\t1\n001e\t0\n";
const std::string kEnd = "ffff\t0\n";
const std::string kFw2File = "1f00\t104\n" + kBlockFw1 + kRtuLock + kEnd;

class ParamFileTest : public TransferTest {
  protected:
    explicit ParamFileTest(const conf::Model& model = conf::ModelA()) : TransferTest(model) {}
    void SetUp() override {
        TransferTest::SetUp();
        fs::create_directories(root_ / "ParameterFile");
    }
    fs::path Dir() { return root_ / "ParameterFile"; }
    std::string Saved(const std::string& name) { return Slurp((Dir() / name).string()); }
    // The commands with their dialog answered by `path`.
    int Save(const std::string& path) {
        fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, path);
        return Menu("SAVE_FILE");
    }
    int Load(const std::string& path) {
        fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, path);
        return Menu("LOAD_FILE");
    }
    int LoadText(const std::string& text) {
        std::ofstream(Dir() / "set.txt", std::ios::binary) << text;
        return Load((Dir() / "set.txt").string());
    }
    const ui::HeadlessFrontEnd::Popup& LastPopup() { return fe.Popups().back(); }
    void ExpectInBin() { EXPECT_EQ(fs::current_path(), root_ / "bin"); }
    // The popup and the log name the file; the status line says what failed, in red.
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

// The folder is made when missing; the dialog proposes the local date and time as the name.
TEST_F(ParamFileTest, FirmwareTwoSavesHeaderThirtyOneRawRegistersAndTerminator) {
    StartWith(104, 2);
    fs::remove_all(Dir());
    sys::VirtualClock& clock = fe.VirtualClock();
    clock.SetLocalStart(sys::AddSeconds({2024, 2, 29, 23, 59, 59},
                                        -static_cast<long long>(std::floor(clock.Now()))));
    Requests();
    EXPECT_EQ(Save("a.txt"), 0);
    EXPECT_EQ(Saved("a.txt"), kFw2File);
    EXPECT_TRUE(Requests().empty());  // the pages only
    ExpectInBin();

    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(LastPopup().type, ui::HeadlessFrontEnd::Popup::Type::FileSelect);
    const ui::FileSelectRequest& r = LastPopup().request;
    EXPECT_EQ(r.title, "save file");
    EXPECT_EQ(r.defaultFileSpec, "20240229_235959_Tarnel.txt");
    EXPECT_EQ(fs::path(r.defaultDirectory), fs::canonical(Dir()));
    EXPECT_EQ(r.fileTypeList, "*.txt");
    EXPECT_TRUE(r.saveButton && r.allowCancel && r.allowMakeDirectory);
    EXPECT_FALSE(r.restrictDirectory || r.restrictExtension);
    // A cancelled save makes no file.
    fe.AdvanceTime(1.0);
    EXPECT_EQ(Menu("SAVE_FILE"), conf::kParamFileCancelled);
    EXPECT_EQ(LastPopup().request.defaultFileSpec, "20240301_000000_Tarnel.txt");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir()), fs::directory_iterator()), 1);
    ExpectInBin();
    // Saved values are raw register values, not the shown ones.
    ASSERT_GE(rt.UserSelectIndex(ctx.gvCFG, Id(ctx.gvCFG, "DP"), 1), 0);
    ASSERT_DOUBLE_EQ(Cfg("HILT").number, 100.0);  // 1000 shown with one decimal
    ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "A1SP"), 12.5), 0);
    ASSERT_GE(rt.UserSetValue(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), 17), 0);
    SetCfgIndex("LOCK", 1);
    EXPECT_EQ(Save("dp.txt"), 0);
    EXPECT_EQ(Saved("dp.txt"), Edited(kFw2File, {{"0002\t0\n", "0002\t1\n"},
                                                 {"0008\t5\n", "0008\t17\n"},
                                                 {"0011\t800\n", "0011\t125\n"},
                                                 {"001e\t0\n", "001e\t1\n"}}));

    // A cancelled load changes nothing, but the range check still follows it.
    SetCfg("FILT", 2000);
    ASSERT_EQ(Cfg("FILT").textBgColor, conf::kColorNormal);
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileCancelled);
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorOutOfRange);
    ExpectInBin();
    const ui::FileSelectRequest& open = LastPopup().request;
    EXPECT_EQ(open.title, "open file");
    EXPECT_EQ(open.defaultFileSpec, "*.txt");
    EXPECT_EQ(open.fileTypeList, "*.txt");
    EXPECT_FALSE(open.saveButton || open.restrictDirectory);
    EXPECT_EQ(fs::path(open.defaultDirectory), fs::canonical(Dir()));
    // A name typed in that does not exist is no file to load.
    fe.AnswerFile(ui::VAL_NEW_FILE_SELECTED, (Dir() / "dp.txt").string());
    EXPECT_EQ(Menu("LOAD_FILE"), conf::kParamFileCancelled);
    EXPECT_EQ(Cfg("FILT").number, 2000);
    EXPECT_EQ(Status(), "Read OK");
}

TEST_F(ParamFileTest, FirmwareOneSavesNoFrameFormatOrLockLine) {
    StartWith(106, 1);
    EXPECT_EQ(Save("fw1.txt"), 0);
    EXPECT_EQ(Saved("fw1.txt"), "1f00\t106\n" + kBlockFw1 + kEnd);
}

// Started outside bin, a command still returns where it started.
TEST_F(ParamFileTest, SaveWritesWhereChosenAndAFullFileRestoresEverySettingOnThePagesOnly) {
    StartWith(104, 2);
    fs::create_directories(root_ / "tools");
    fs::current_path(root_ / "tools");
    fs::create_directories(root_ / "stick");
    EXPECT_EQ(Save((root_ / "stick" / "copy.txt").string()), 0);
    EXPECT_EQ(Slurp((root_ / "stick" / "copy.txt").string()), kFw2File);
    EXPECT_FALSE(fs::exists(Dir() / "copy.txt"));

    std::ofstream(Dir() / "old.txt") << kFw2File << kFw2File;
    SetCfg("FILT", 44);
    fe.AnswerFile(ui::VAL_EXISTING_FILE_SELECTED, (Dir() / "old.txt").string());
    EXPECT_EQ(Menu("SAVE_FILE"), 0);
    EXPECT_EQ(Saved("old.txt"), Edited(kFw2File, {{"0008\t5\n", "0008\t44\n"}}));
    EXPECT_EQ(fs::current_path(), root_ / "tools");
    EXPECT_EQ(Load((Dir() / "old.txt").string()), 0);
    EXPECT_EQ(fs::current_path(), root_ / "tools");
    fs::current_path(root_ / "bin");

    // A firmware 2 file restores every setting, on the pages only.
    const std::string file = Edited("1f00\t104\n" + kBlockFw1 + "001d\t3\n001e\t1\n" + kEnd,
                                    {{"0002\t0\n", "0002\t1\n"},
                                     {"0008\t5\n", "0008\t17\n"},
                                     {"000d\t1\n", "000d\t7\n"},
                                     {"000e\t3\n", "000e\t1\n"},
                                     {"0015\t100\n", "0015\t-25\n"}});
    Requests();
    EXPECT_EQ(LoadText(file), 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_DOUBLE_EQ(Cfg("HILT").number, 100.0);  // with the file's decimal point
    EXPECT_DOUBLE_EQ(Cfg("A2SP").number, -2.5);
    // Station and baud rate go to the parameter controls, not to the link.
    EXPECT_EQ(Cfg("ID").number, 7);
    EXPECT_EQ(Cfg("BR").index, 1);
    EXPECT_EQ(Main("ID_COMM").number, 1);
    EXPECT_EQ(Main("BR_COMM").index, 3);
    EXPECT_EQ(Status(), "Read OK");
    ExpectInBin();

    // Every setting landed: saved again, the same bytes come back.
    EXPECT_EQ(Save("again.txt"), 0);
    EXPECT_EQ(Saved("again.txt"), file);
}

// Records are read and logged up to the terminator or the 31st parameter line, values out of
// range as they are; unknown addresses are skipped, and lines a file lacks keep their setting.
TEST_F(ParamFileTest, RecordsAreReadUpToTheTerminatorOrTheLineLimit) {
    StartWith(104, 2);
    SetCfgIndex("RTU", 2);
    SetCfgIndex("LOCK", 1);
    const struct {
        const char* what;
        std::string file;
        int filt;
    } files[] = {
        {"unknown addresses",
         "1f00\t104\n001f\t0\n1f04\t0\n0040\t3\n1f00\t106\n0x0008\t+21\n12345678\t1\nffff\t0\n",
         21},
        {"after the terminator", "1f00\t104\n0008\t-3\nffff\t0\n0008\t41\n", -3},
        {"after 31 lines", "1f00\t104\n" + kBlockFw1 + "0040\t0\n0040\t0\n0008\t77\nnever read\n",
         5},
        {"carriage returns, blank lines, no last line feed", "\r\n1f00\t104\r\n\r\n0008 31", 31},
        {"firmware 1, no frame format or lock",
         Edited("1f00\t104\n" + kBlockFw1 + kEnd, {{"0008\t5\n", "0008\t9\n"}}), 9},
        {"out of range", "1f00\t104\n0008\t1500\n", 1500},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        EXPECT_EQ(LoadText(f.file), 0);
        EXPECT_EQ(Cfg("FILT").number, f.filt);
        EXPECT_EQ(Status(), "Read OK");
    }
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorOutOfRange);
    EXPECT_EQ(Cfg("A1SP").textBgColor, conf::kColorNormal);
    EXPECT_EQ(Cfg("RTU").index, 2);
    EXPECT_EQ(Cfg("LOCK").index, 1);
    EXPECT_EQ(Main("RS485").state, 1);
    EXPECT_EQ(Main("DIGIT").index, 1);
    const std::string log = Log();
    EXPECT_NE(log.find("<1f00> [104]\n<0008> [-3]\n<ffff> [0]\n"), std::string::npos);
    EXPECT_NE(log.find("<0040> [3]\n<1f00> [106]\n<0008> [21]\n"), std::string::npos);
    EXPECT_EQ(log.find("[41]"), std::string::npos);
    EXPECT_EQ(log.find("[77]"), std::string::npos);
}

// A refused file leaves the pages, good lines before the bad one included, and the colour;
// nothing reaches the instrument. A value no control can hold (a radio button or ring item that
// is not there, a number beyond the register's 16 bits) refuses the whole file, its line named
// in the log whatever the switches say. Held values out of range still load (and show red).
TEST_F(ParamFileTest, RefusedFilesChangeNothingButTheStatus) {
    StartWith(104, 2);
    struct Refusal {
        std::string what, file;
        const char* status = "File format error";
        const char* logged = nullptr;  // the value the log names, if any
    };
    std::vector<Refusal> refusals = {
        {"empty", ""},
        {"no header", "0008\t17\n0002\t1\nffff\t0\n"},
        {"damaged line", "1f00\t104\n0002\t1\n0008\t17\n0004\tabc\n"},
        {"line with a name", "1f00\t104\n0002\t1\n0008\t17\tFILT\n"},
        {"value too big", "1f00\t104\n0002\t1\n0008\t99999999999\n"},
        {"endless line", "1f00\t104\n0002\t1\n" + std::string(5000, '7')},
        {"another model", "1f00\t106\n0002\t1\n0008\t17\n", "HW not match"},
        {"model code in hex", "1f00\t68\n0002\t1\n0008\t17\n", "HW not match"},
    };
    const std::pair<std::string, const char*> noControlCanHold[] = {
        {"0000\t99\n", "TYPE 99"},       {"0000\t-1\n", "TYPE -1"},
        {"0000\t14\n", "TYPE 14"},       {"0009\t7\n", "DIR 7"},
        {"0009\t2\n", "DIR 2"},          {"0001\t3\n", "UNIT 3"},
        {"0002\t4\n", "DP 4"},           {"000a\t3\n", "CUT 3"},
        {"000e\t4\n", "BR 4"},           {"000f\t7\n", "A1FU 7"},
        {"0014\t-1\n", "A2MD -1"},       {"001d\t-1\n", "RTU -1"},
        {"001e\t3\n", "LOCK 3"},         {"0008\t40000\n", "FILT 40000"},
        {"000d\t65536\n", "ID 65536"},   {"0011\t-32769\n", "A1SP -32769"},
        {"001c\t32768\n", "mA.H 32768"},
    };
    for (const auto& [line, logged] : noControlCanHold)
        refusals.push_back({line, "1f00\t104\n0002\t1\n0008\t17\n" + line + "0008\t18\nffff\t0\n",
                            "File format error", logged});
    ctx.gvLogYN = 0;
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.what);
        rt.SetCtrlVal(ctx.gvMain, Id(ctx.gvMain, "MSG"), "");
        Requests();
        EXPECT_EQ(LoadText(r.file), 0);
        EXPECT_EQ(Status(), r.status);
        EXPECT_EQ(StatusColour(), 0x008000);  // left from "Read OK"
        EXPECT_TRUE(Requests().empty());
        ExpectInBin();
        if (r.logged) {
            EXPECT_EQ(LogFrom("Parameter file: "), std::string("Parameter file: line 4: ") +
                                                       r.logged +
                                                       " is not a value its control can hold\n");
        }
        // The pages, saved, are the instrument's settings still.
        EXPECT_EQ(Save("pages.txt"), 0);
        EXPECT_EQ(Saved("pages.txt"), kFw2File);
    }

    // The last item, the last button and the ends of 16 bits are held.
    ctx.gvLogYN = 1;
    rt.SetCtrlVal(ctx.gvMain, Id(ctx.gvMain, "MSG"), "");
    EXPECT_EQ(LoadText("1f00\t104\n0000\t13\n0009\t1\n0001\t2\n0002\t3\n000e\t0\n"
                       "001e\t2\n0008\t32767\n0011\t-32768\nffff\t0\n"),
              0);
    EXPECT_EQ(Status(), "");  // no refusal; model A says nothing of a load that went in
    EXPECT_EQ(Save("pages.txt"), 0);
    EXPECT_EQ(Saved("pages.txt"), Edited(kFw2File, {{"0000\t1\n", "0000\t13\n"},
                                                    {"0001\t0\n", "0001\t2\n"},
                                                    {"0002\t0\n", "0002\t3\n"},
                                                    {"0008\t5\n", "0008\t32767\n"},
                                                    {"0009\t0\n", "0009\t1\n"},
                                                    {"000e\t3\n", "000e\t0\n"},
                                                    {"0011\t800\n", "0011\t-32768\n"},
                                                    {"001e\t0\n", "001e\t2\n"}}));
    EXPECT_EQ(Cfg("FILT").textBgColor, conf::kColorOutOfRange);

    // With no instrument answering (model 255) no file matches, not even one saying 255.
    SilenceFrom(0);
    PressRead();
    ASSERT_EQ(ctx.gvHW, 255);
    EXPECT_EQ(LoadText("1f00\t255\n0008\t17\n"), 0);
    EXPECT_EQ(Status(), "HW not match");
    EXPECT_EQ(StatusColour(), 0xFF0000);  // left from "Read NG"
    EXPECT_EQ(Cfg("FILT").number, 32767);
}

TEST_F(ParamFileTest, FilesThatCannotBeMadeOrReadAreReported) {
    StartWith(104, 2);
    fs::create_directories(Dir() / "folder.txt");
    const struct {
        bool save;
        std::string path;
        int code;
        const char* status;
    } failures[] = {
        {true, (root_ / "no such folder" / "a.txt").string(), 1233117, "Parameter file not saved"},
        {true, "/dev/full", 1233129, "Parameter file not saved"},
        {false, (Dir() / "gone.txt").string(), 1233143, "Parameter file not read"},
        {false, (Dir() / "folder.txt").string(), 1233143, "Parameter file not read"},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.path);
        EXPECT_EQ(f.save ? Save(f.path) : Load(f.path), conf::kParamFileFailed);
        ExpectReported(f.code, f.path, f.status);
    }
    EXPECT_TRUE(fs::exists("/dev/full"));

    // Saved over in a read-only folder: nothing can be made beside the older set, which stays.
    const fs::path older = Dir() / "older.txt";
    std::ofstream(older) << kFw2File;
    ASSERT_EQ(chmod(Dir().c_str(), 0555), 0);
    int saved = 0;
    {
        test_support::PermissionBitsBind bind;
        saved = Save(older.string());
    }
    chmod(Dir().c_str(), 0755);
    EXPECT_EQ(saved, conf::kParamFileFailed);
    ExpectReported(1233117, older.string(), "Parameter file not saved");
    EXPECT_EQ(Slurp(older.string()), kFw2File);
    EXPECT_EQ(Cfg("FILT").number, 5);

    // Without its folder neither command shows a dialog.
    fe.ClearPopups();
    fs::remove_all(Dir());
    std::ofstream(Dir()) << "in the way";
    for (const char* item : {"SAVE_FILE", "LOAD_FILE"}) {
        EXPECT_EQ(Menu(item), conf::kParamFileFailed);
        ExpectReported(1233101, "ParameterFile", "Cannot open folder ParameterFile");
    }
    for (const auto& p : fe.Popups())
        EXPECT_NE(p.type, ui::HeadlessFrontEnd::Popup::Type::FileSelect);
}

class ParamFileB : public ParamFileTest {
  protected:
    ParamFileB() : ParamFileTest(conf::ModelB()) {}
};

TEST_F(ParamFileB, HoldThirtyOneLinesLoadBackAndRefuseWhatNoControlCanHold) {
    StartWith(105, 3);
    const std::string path = (Dir() / "b.txt").string();
    EXPECT_EQ(Save(path), 0);
    const std::string file = Slurp(path);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 31);
    EXPECT_TRUE(file.ends_with('\n'));
    EXPECT_EQ(file.substr(0, 10), "1f00\t105\n0");
    EXPECT_NE(file.find("\n1002\t10000\n"), std::string::npos);
    EXPECT_EQ(file.find("ffff"), std::string::npos);  // no terminator line

    // Changed on the page, then loaded back from the file.
    rt.SetCtrlVal(ctx.gvCFG, Id(ctx.gvCFG, "HILT"), 5.0);
    EXPECT_EQ(Load(path), 0);
    EXPECT_EQ(Cfg("HILT").number, 1000.0);
    EXPECT_EQ(Status(), "Parameter load OK") << LogFrom("Parameter");
    EXPECT_EQ(StatusColour(), 0x008000);

    // A model A file is refused.
    EXPECT_EQ(LoadText("1f00\t104\n0000\t1\nffff\t0\n"), 0);
    EXPECT_EQ(Status(), "HW not match");
    EXPECT_EQ(StatusColour(), 0xFF0000);

    // A value no control can hold refuses the whole file (in red, as this model's refusals are)
    // and names the line; a 32-bit value is held whole, out of range or not.
    const struct {
        std::string line;
        const char* logged;
    } bad[] = {
        {"0000\t3\n", "TYPE 3"}, {"0009\t7\n", "DIR 7"},          {"0002\t6\n", "DP 6"},
        {"001e\t3\n", "LOCK 3"}, {"0008\t40000\n", "FILT 40000"}, {"000d\t-40000\n", "ID -40000"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.line);
        Requests();
        EXPECT_EQ(LoadText("1f00\t105\n0002\t2\n0008\t17\n" + b.line + "1002\t5000\n"), 0);
        EXPECT_EQ(Status(), "File format error");
        EXPECT_EQ(StatusColour(), 0xFF0000);
        EXPECT_TRUE(Requests().empty());
        EXPECT_EQ(LogFrom("Parameter file: "), std::string("Parameter file: line 4: ") + b.logged +
                                                   " is not a value its control can hold\n");
        EXPECT_EQ(Save("pages.txt"), 0);
        EXPECT_EQ(Saved("pages.txt"), file);
    }

    EXPECT_EQ(LoadText("1f00\t105\n0002\t0\n0008\t32767\n1002\t2000000\n1001\t-2000000\n"), 0);
    EXPECT_EQ(Status(), "Parameter load OK");
    EXPECT_EQ(Cfg("HILT").number, 2000000.0);
    EXPECT_EQ(Cfg("LOLT").number, -2000000.0);
    EXPECT_EQ(Cfg("HILT").textBgColor, 0xFF0000);
    EXPECT_EQ(Cfg("FILT").number, 32767);
}

}  // namespace
