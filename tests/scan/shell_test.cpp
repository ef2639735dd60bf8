// Scan's frame: start-up, the language file and menu, relabelling, the status line, the log
// and its switches, the keys and the error reports.

#include "scan/shell.h"

#include <cstdlib>

#include "platform/sys/codepage.h"
#include "popups.h"
#include "scan/language.h"
#include "scan/scan_log.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

std::string Encoded(const char* utf8, sys::CodePage page) {
    std::string out;
    EXPECT_EQ(sys::FromUtf8(utf8, page, &out), 0);
    return out;
}
std::string Big5(const char* utf8) {
    return Encoded(utf8, sys::CodePage::Big5);
}
std::string Gb(const char* utf8) {
    return Encoded(utf8, sys::CodePage::Gb2312);
}

class Shell : public SweepTest {
  protected:
    int Charset() {
        int charset = 0;
        rt.GetPanelAttribute(ctx.gvG1, ui::ATTR_CHARSET, &charset);
        return charset;
    }
    int StatusColour() { return Attr("STATUS", ui::ATTR_TEXT_COLOR); }
    std::string TableLabel(bool row, int n) {
        std::string text;
        if (row)
            rt.GetTableRowAttribute(ctx.gvtpScan, Ctrl("COM_PARA"), n, ui::ATTR_LABEL_TEXT, &text);
        else
            rt.GetTableColumnAttribute(ctx.gvtpScan, Ctrl("COM_PARA"), n, ui::ATTR_LABEL_TEXT,
                                       &text);
        return text;
    }
};

TEST_F(Shell, FirstRunCreatesTheLanguageFileAndShowsEnglish) {
    Put("log.txt", "an earlier run\n");
    Start();
    EXPECT_EQ(Slurp("Language_Selection.txt"), "0");
    EXPECT_EQ(ctx.gvLANG, 0);
    EXPECT_EQ(Checked("ENGLISH"), 1);
    EXPECT_EQ(Checked("TRADITIONAL"), 0);
    EXPECT_EQ(Checked("SIMPLIFIED"), 0);
    EXPECT_EQ(Charset(), ui::VAL_NATIVE_CHARSET);
    EXPECT_EQ(MenuText("FILE"), "__File");
    EXPECT_EQ(MenuText("EXIT"), "E__xit");
    EXPECT_EQ(MenuText("CONTENT"), "__Content");
    EXPECT_EQ(MenuText("VERSION"), "Ver.2013-05-28-A");
    EXPECT_EQ(Text("TITLE"), "Scan Device");
    EXPECT_EQ(Label("SEARCH"), "Search Available COM Port");
    EXPECT_EQ(Label("AUTO_SCAN"), "__Auto Scan");
    EXPECT_EQ(TableLabel(false, 1), "Current Using");
    EXPECT_EQ(TableLabel(true, 1), "COM");
    EXPECT_EQ(TableLabel(true, 5), "Stop Bits");
    // The status line starts with the id the panel resource gives it.
    EXPECT_EQ(Text("STATUS"), "Press button Auto Scan");
    EXPECT_EQ(StatusColour(), ui::VAL_BLACK);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvtpScan), Ctrl("AUTO_SCAN"));
    EXPECT_FALSE(TimerOn());
    // Every run starts with an empty log; with no switch file nothing is written to it.
    EXPECT_EQ(Slurp("log.txt"), "");
    EXPECT_TRUE(fe.Popups().empty());
}

TEST_F(Shell, SimplifiedChineseIsStoredAndUsedByTheNextRun) {
    Start();
    fn_1_Status_Msg(ctx, scan::kStatusNotFound);
    rt.UserMenuSelect(rt.GetPanelMenuBar(ctx.gvG1), Item("SIMPLIFIED"));
    EXPECT_EQ(Slurp("Language_Selection.txt"), "2");
    EXPECT_EQ(Checked("ENGLISH"), 0);
    EXPECT_EQ(Checked("SIMPLIFIED"), 1);
    EXPECT_EQ(Charset(), ui::VAL_GB2312_CHARSET);
    EXPECT_EQ(MenuText("LANGUAGE"), Gb("语言(__L)"));
    EXPECT_EQ(MenuText("SIMPLIFIED"), Gb("简体中文(__S)"));
    EXPECT_EQ(Text("TITLE"), Gb("扫描装置"));
    EXPECT_EQ(Label("SEARCH"), Gb("搜寻现有串口"));
    EXPECT_EQ(Label("AUTO_SCAN"), Gb("扫描自动(__S)"));
    EXPECT_EQ(TableLabel(false, 1), Gb("现在使用"));
    EXPECT_EQ(TableLabel(true, 2), Gb("鲍率"));
    // The message on the line changes language and keeps its colour.
    EXPECT_EQ(Text("STATUS"), Gb("找不到装置"));
    EXPECT_EQ(StatusColour(), ui::VAL_RED);
    scan::G1__exit(ctx);

    // The next run.
    ui::CallbackRegistry registry2;
    ui::HeadlessFrontEnd fe2;
    ui::Runtime rt2{fe2, registry2};
    scan::ScanContext next{rt2, launcher, com, deviceList};
    scan::RegisterCallbacks(next, registry2);
    ASSERT_EQ(scan::G1__init(next), 0);
    EXPECT_EQ(next.gvLANG, 2);
    int charset = 0, checked = 0;
    rt2.GetPanelAttribute(next.gvG1, ui::ATTR_CHARSET, &charset);
    EXPECT_EQ(charset, ui::VAL_GB2312_CHARSET);
    const int bar = rt2.GetPanelMenuBar(next.gvG1);
    rt2.GetMenuBarAttribute(bar, rt2.FindMenuItem(bar, "SIMPLIFIED"), ui::ATTR_CHECKED, &checked);
    EXPECT_EQ(checked, 1);
    std::string status;
    rt2.GetCtrlVal(next.gvtpScan, rt2.FindCtrl(next.gvtpScan, "STATUS"), &status);
    EXPECT_EQ(status, Gb("请按自动扫描"));
    scan::G1__exit(next);
}

TEST_F(Shell, TraditionalChineseUsesBig5) {
    Put("Language_Selection.txt", "1");
    Start();
    EXPECT_EQ(Charset(), ui::VAL_BIG5_CHARSET);
    EXPECT_EQ(Checked("TRADITIONAL"), 1);
    EXPECT_EQ(MenuText("FILE"), Big5("檔案(__F)"));
    EXPECT_EQ(TableLabel(true, 1), Big5("並列埠"));
    EXPECT_EQ(Text("STATUS"), Big5("請按自動掃描"));
    rt.UserMenuSelect(rt.GetPanelMenuBar(ctx.gvG1), Item("ENGLISH"));
    EXPECT_EQ(Slurp("Language_Selection.txt"), "0");
    EXPECT_EQ(Charset(), ui::VAL_NATIVE_CHARSET);
    EXPECT_EQ(Text("STATUS"), "Press button Auto Scan");
}

// A language file holding something else than 0-2 is read as English and left as it is until
// the user chooses.
TEST_F(Shell, UnknownLanguageValueMeansEnglish) {
    Put("Language_Selection.txt", "7");
    Start();
    EXPECT_EQ(ctx.gvLANG, 0);
    EXPECT_EQ(Checked("ENGLISH"), 1);
    EXPECT_EQ(Text("TITLE"), "Scan Device");
    EXPECT_EQ(Slurp("Language_Selection.txt"), "7");
}

TEST_F(Shell, StatusColoursAndTheStatusIdControl) {
    Start();
    const struct {
        int id;
        const char* text;
        int colour;
    } cases[] = {{731, "Scanning", ui::VAL_BLUE},
                 {732, "Device was found", ui::VAL_DK_GREEN},
                 {733, "Device not found", ui::VAL_RED},
                 {734, "Scan Stoped", ui::VAL_BLACK},
                 {730, "Press button Auto Scan", ui::VAL_BLACK},
                 {0, "", ui::VAL_BLACK},
                 {999, "", ui::VAL_BLACK}};
    for (const auto& c : cases) {
        scan::fn_1_Status_Msg(ctx, c.id);
        EXPECT_EQ(Text("STATUS"), c.text) << c.id;
        EXPECT_EQ(StatusColour(), c.colour) << c.id;
        EXPECT_EQ(scan::StatusID::GV(ctx), c.id);
    }
    // Typing an id into the status-id control shows that message.
    rt.UserSetValue(ctx.gvtpScan, Ctrl("STATUS_ID"), 733);
    EXPECT_EQ(Text("STATUS"), "Device not found");
    EXPECT_EQ(StatusColour(), ui::VAL_RED);
}

struct SwitchCase {
    const char* file;  // nullptr: no switch file
    int logYN, dbgYN;
    const char* written;
    int logiResult;
};

class LogSwitches : public Shell, public ::testing::WithParamInterface<SwitchCase> {};

// Each writer once; the log keeps what was written.
TEST_P(LogSwitches, GateTheWriters) {
    const SwitchCase& c = GetParam();
    if (c.file) Put("YN_log_dbg.txt", c.file);
    Start();
    EXPECT_EQ(ctx.gvLogYN, c.logYN);
    EXPECT_EQ(ctx.gvdbgYN, c.dbgYN);
    EXPECT_EQ(scan::logi(ctx, "i%d ", 1), c.logiResult);
    EXPECT_EQ(scan::logs(ctx, "s%s ", "2"), c.logYN == 0 ? 1 : 0);
    EXPECT_EQ(scan::logf(ctx, "f%.1f ", 3.0), c.logYN == 0 ? 1 : 0);
    EXPECT_EQ(scan::dbgi(ctx, "I%d ", 4), c.dbgYN == 0 ? 1 : 0);
    EXPECT_EQ(scan::dbgs(ctx, "S%s ", "5"), c.dbgYN == 0 ? 1 : 0);
    EXPECT_EQ(scan::dbgf(ctx, "F%.1f ", 6.0), c.dbgYN == 0 ? 1 : 0);
    ctx.gpLog.Close();
    EXPECT_EQ(Slurp("log.txt"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Files, LogSwitches,
                         ::testing::Values(SwitchCase{nullptr, 0, 0, "", 1},
                                           SwitchCase{"0 0", 0, 0, "", 1},
                                           SwitchCase{"1 0", 1, 0, "i1 s2 f3.0 ", 0},
                                           SwitchCase{"2 1", 2, 1, "s2 f3.0 I4 S5 F6.0 ", 0},
                                           SwitchCase{"0 1\n", 0, 1, "I4 S5 F6.0 ", 1}));

TEST_F(Shell, KeysOpenAndEmptyTheLogAndEnd) {
    Put("YN_log_dbg.txt", "1 0");
    Start();
    scan::logs(ctx, "%s", "before\n");
    ::setenv("VISUAL", "myeditor --wait", 1);
    rt.UserKeyPress(ctx.gvG1, 0, ui::VAL_MENUKEY_MODIFIER | 'O');
    ::unsetenv("VISUAL");
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].program, "myeditor");
    EXPECT_EQ(launcher.calls[0].args,
              (std::vector<std::string>{"--wait", (root_ / "bin" / "log.txt").string()}));
    // The log was reopened for appending.
    scan::logs(ctx, "%s", "after\n");
    EXPECT_EQ(Slurp("log.txt"), "before\nafter\n");

    rt.UserKeyPress(ctx.gvG1, 0, ui::VAL_MENUKEY_MODIFIER | 'X');
    EXPECT_EQ(Slurp("log.txt"), "");
    scan::logs(ctx, "%s", "cleared\n");
    EXPECT_EQ(Slurp("log.txt"), "cleared\n");

    EXPECT_FALSE(fe.QuitRequested());
    rt.UserKeyPress(ctx.gvG1, 0, '`');
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(rt.GetPanel(ctx.gvG1), nullptr);
    EXPECT_FALSE(ctx.gpLog.IsOpen());
}

TEST_F(Shell, CloseBoxAndExitItemEndTheProgram) {
    Start();
    rt.UserClosePanel(ctx.gvG1);
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_FALSE(ctx.gpLog.IsOpen());

    ui::CallbackRegistry registry2;
    ui::HeadlessFrontEnd fe2;
    ui::Runtime rt2{fe2, registry2};
    scan::ScanContext next{rt2, launcher, com, deviceList};
    scan::RegisterCallbacks(next, registry2);
    ASSERT_EQ(scan::G1__init(next), 0);
    const int bar = rt2.GetPanelMenuBar(next.gvG1);
    rt2.UserMenuSelect(bar, rt2.FindMenuItem(bar, "EXIT"));
    EXPECT_TRUE(fe2.QuitRequested());
    EXPECT_EQ(rt2.GetPanel(next.gvG1), nullptr);
}

TEST_F(Shell, ErrorReportsShowAPopupAndLogTwoLines) {
    Start();  // switches off: the reports are written all the same
    scan::fn_err_Open_File(ctx, "M1__Scan_Dev", 5521967, "COM__Exist.txt");
    scan::fn_err_Open_COM(ctx, "M1__Scan_Dev", 8902301, -3);
    EXPECT_EQ(Popups(fe), (Shown{{"M1__Scan_Dev :: 5521967", "open file NG :: COM__Exist.txt"},
                                 {"M1__Scan_Dev :: 8902301", "Open COM NG :: err code : -3"}}));
    const std::string stars = "\xA1\xB9\xA1\xB9\xA1\xB9";
    EXPECT_EQ(Slurp("log.txt"), stars + " M1__Scan_Dev :: 5521967 \n" + stars +
                                    " open file NG :: COM__Exist.txt \n\n" + stars +
                                    " M1__Scan_Dev :: 8902301 \n" + stars +
                                    " Open COM NG :: err code : -3 \n\n");
}

TEST_F(Shell, MissingPanelResourceFailsTheStart) {
    fs::remove(root_ / "gui" / "G1.json");
    EXPECT_LT(scan::G1__init(ctx), 0);
    EXPECT_NE(Slurp("log.txt").find("Load panel NG :: "), std::string::npos);
}

}  // namespace
}  // namespace scantest
