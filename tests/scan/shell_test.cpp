// Scan's frame: start-up, the language file and menu, relabelling, the status line, the log
// and its switches, the keys and the error reports; the language table against the system's
// own conversion (iconv): the bytes it holds are exactly the Big5 and GB2312 encodings of the
// texts. Start-up never waits on a FIFO at a settings file's name and reads only as far as
// its fields go.

#include "scan/shell.h"

#include <cstring>
#include <list>

#include "platform/sys/codepage.h"
#include "scan/lang_table.h"
#include "scan/language.h"
#include "scan/scan_log.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"

namespace scantest {
namespace {

using test_support::FifoGuard;

struct Row {
    int id;
    const char* english;
    const char* traditional;  // UTF-8
    const char* simplified;   // UTF-8
};

const Row kRows[] = {
    {0, "", "", ""},  // the empty message that clears the line
    {154, "Start", "開始", "开始"},
    {730, "Press button Auto Scan", "請按自動掃描", "请按自动扫描"},
    {731, "Scanning", "掃描中", "扫描中"},
    {732, "Device was found", "已找到裝置", "已找到装置"},
    {733, "Device not found", "找不到裝置", "找不到装置"},
    {734, "Scan Stoped", "掃描已停止", "扫描已停止"},
    {5008, "Scan Device", "掃描裝置", "扫描装置"},
    {5010, "Current Using", "現在使用", "现在使用"},
    {5011, "COM", "並列埠", "串口"},
    {5012, "Baud", "鮑率", "鲍率"},
    {5013, "Parity", "同位元", "同位元"},
    {5014, "Data Bits", "資料位元", "资料位元"},
    {5015, "Stop Bits", "停止位元", "停止位元"},
    {5022, "Search Available COM Port", "搜尋現有並列埠", "搜寻现有串口"},
    {50100, "__File", "檔案(__F)", "文件(__F)"},
    {50101, "E__xit", "離開(__X)", "离开(__X)"},
    {50200, "__Language", "語言(__L)", "语言(__L)"},
    {50201, "__English", "英文(__E)", "英文(__E)"},
    {50202, "__Traditional Chinese", "繁體中文(__T)", "繁体中文(__T)"},
    {50203, "__Simplified Chinese", "簡體中文(__S)", "简体中文(__S)"},
    {50300, "__Auto Scan", "自動掃描(__S)", "扫描自动(__S)"},
    {50301, "__Start Scan", "開始掃描(__S)", "开始扫描(__S)"},
    {50400, "__Help", "說明(__H)", "帮助(__H)"},
    {50401, "__Content", "軟體說明(__C)", "软件说明(__C)"},
};

// The text of an id in a language, as the panel shows it.
std::string InLanguage(int id, int language) {
    for (const Row& row : kRows) {
        if (row.id != id) continue;
        if (language == 0) return row.english;
        std::string out;
        EXPECT_EQ(sys::FromUtf8(language == 1 ? row.traditional : row.simplified,
                                language == 1 ? sys::CodePage::Big5 : sys::CodePage::Gb2312, &out),
                  0);
        return out;
    }
    return "no such id";
}

TEST(ScanLangTable, HoldsBig5AndGb2312BytesOfEveryTextAndNothingElse) {
    std::vector<int> ids;
    for (const Row& row : kRows) {
        ids.push_back(row.id);
        for (int language = 0; language < 3; ++language) {
            std::string text = "unset";
            EXPECT_EQ(scan::LangS::DataBase(row.id, language, &text), 0);
            EXPECT_EQ(text, InLanguage(row.id, language)) << row.id << " in " << language;
        }
    }
    EXPECT_EQ(scan::ScanTextIds(), ids);
    // An unknown id or language leaves the buffer alone.
    std::string text = "kept";
    EXPECT_EQ(scan::LangS::DataBase(735, 0, &text), 0);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(scan::LangS::DataBase(731, 3, &text), 0);
    EXPECT_EQ(scan::LangS::DataBase(731, -1, &text), 0);
    EXPECT_EQ(text, "kept");
}

class Shell : public SweepTest {
  protected:
    // The panel's language: its charset and menu marks, and every text it relabels, status
    // line last.
    std::vector<std::string> Language() {
        int charset = 0;
        rt.GetPanelAttribute(ctx.gvG1, ui::ATTR_CHARSET, &charset);
        std::vector<std::string> texts{std::to_string(charset),
                                       std::to_string(Checked("ENGLISH")) +
                                           std::to_string(Checked("TRADITIONAL")) +
                                           std::to_string(Checked("SIMPLIFIED"))};
        for (const char* item : {"FILE", "EXIT", "CONTENT", "LANGUAGE", "SIMPLIFIED"})
            texts.push_back(MenuText(item));
        texts.insert(texts.end(), {Text("TITLE"), Label("SEARCH"), Label("AUTO_SCAN")});
        std::string label;
        rt.GetTableColumnAttribute(ctx.gvtpScan, Ctrl("COM_PARA"), 1, ui::ATTR_LABEL_TEXT, &label);
        texts.push_back(label);
        for (int row : {1, 2, 5}) {
            rt.GetTableRowAttribute(ctx.gvtpScan, Ctrl("COM_PARA"), row, ui::ATTR_LABEL_TEXT,
                                    &label);
            texts.push_back(label);
        }
        texts.push_back(Text("STATUS"));
        return texts;
    }
    // What Language() must give in `language` with the status line on message `status`.
    static std::vector<std::string> LanguageOf(int language, int status) {
        const int charsets[] = {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET,
                                ui::VAL_GB2312_CHARSET};
        const char* marks[] = {"100", "010", "001"};
        std::vector<std::string> texts{std::to_string(charsets[language]), marks[language]};
        for (int id :
             {50100, 50101, 50401, 50200, 50203, 5008, 5022, 50300, 5010, 5011, 5012, 5015, status})
            texts.push_back(InLanguage(id, language));
        return texts;
    }
};

// The two files start-up reads, each given as nullptr (none), "fifo" (a FIFO there), "long"
// (the language 100000 lines down; the switches 1, 100000 blanks, 1) or its content.
struct StartCase {
    const char* languageFile;
    int language;
    const char* switchFile;
    int logYN, dbgYN;
    const char* written;  // what each writer once leaves in the log
    int logiResult;
};

class StartFiles : public Shell, public ::testing::WithParamInterface<StartCase> {
  protected:
    // Puts `given` at `name`; what the file holds then, or "fifo".
    std::string Place(const char* name, const char* given, const std::string& longText) {
        const std::string text = given == nullptr ? "" : given;
        if (text == "fifo") {
            EXPECT_TRUE(fifos.emplace_back(name).Made());
        } else if (given) {
            Put(name, text == "long" ? longText : text);
        }
        return text == "long" ? longText : text;
    }
    std::list<FifoGuard> fifos;
};

// The first run creates the language file; a value other than 0-2 means English and is left
// as it is until the user chooses. Each switch gates its writers. Only the files' start is
// read (a value far down is none), and a FIFO is never waited on.
TEST_P(StartFiles, ChooseTheLanguageAndGateTheWriters) {
    const StartCase& c = GetParam();
    Put("log.txt", "an earlier run\n");
    const std::string language =
        Place("Language_Selection.txt", c.languageFile, std::string(100000, '\n') + "2");
    Place("YN_log_dbg.txt", c.switchFile, "1" + std::string(100000, ' ') + "1");
    Start();
    for (FifoGuard& fifo : fifos)
        EXPECT_FALSE(fifo.HadToFree()) << "start-up waited on a FIFO";
    fifos.clear();
    EXPECT_EQ(ctx.gvLANG, c.language);
    EXPECT_EQ(scan::LangS::GV(ctx), c.language);
    EXPECT_EQ(Language(), LanguageOf(c.language, 730));
    if (language == "fifo")
        EXPECT_FALSE(fs::is_regular_file("Language_Selection.txt"));
    else
        EXPECT_EQ(Slurp("Language_Selection.txt"), c.languageFile ? language : "0");
    EXPECT_EQ(MenuText("VERSION"), "Ver.2013-05-28-A");
    // The status line starts with the id the panel resource gives it.
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), ui::VAL_BLACK);
    EXPECT_EQ(rt.GetActiveCtrl(ctx.gvtpScan), Ctrl("AUTO_SCAN"));
    EXPECT_FALSE(TimerOn());
    // Every run starts with an empty log.
    EXPECT_EQ(Slurp("log.txt"), "");
    EXPECT_TRUE(fe.Popups().empty());

    EXPECT_EQ(ctx.gvLogYN, c.logYN);
    EXPECT_EQ(ctx.gvdbgYN, c.dbgYN);
    // Each writer in turn: 1 when its switch is off.
    const int logOff = c.logYN == 0, dbgOff = c.dbgYN == 0;
    EXPECT_EQ((std::vector<int>{scan::logi(ctx, "i%d ", 1), scan::logs(ctx, "s%s ", "2"),
                                scan::logf(ctx, "f%.1f ", 3.0), scan::dbgi(ctx, "I%d ", 4),
                                scan::dbgs(ctx, "S%s ", "5"), scan::dbgf(ctx, "F%.1f ", 6.0)}),
              (std::vector<int>{c.logiResult, logOff, logOff, dbgOff, dbgOff, dbgOff}));
    ctx.gpLog.Close();
    EXPECT_EQ(Slurp("log.txt"), c.written);
}

INSTANTIATE_TEST_SUITE_P(Files, StartFiles,
                         ::testing::Values(StartCase{nullptr, 0, nullptr, 0, 0, "", 1},
                                           StartCase{"1", 1, "0 0", 0, 0, "", 1},
                                           StartCase{"2", 2, "1 0", 1, 0, "i1 s2 f3.0 ", 0},
                                           StartCase{"7", 0, "2 1", 2, 1, "s2 f3.0 I4 S5 F6.0 ", 0},
                                           StartCase{"0", 0, "0 1\n", 0, 1, "I4 S5 F6.0 ", 1},
                                           StartCase{"fifo", 0, "fifo", 0, 0, "", 1},
                                           StartCase{"long", 0, "long", 1, 0, "i1 s2 f3.0 ", 0}));

// A language chosen is stored and relabels the panel at once; the message on the line
// changes language and keeps its colour. The Exit item ends the program.
TEST_F(Shell, ChosenLanguageIsStoredAndShownAndExitEnds) {
    Put("Language_Selection.txt", "1");
    Start();
    fn_1_Status_Msg(ctx, scan::kStatusNotFound);
    for (auto [item, language] : {std::pair{"SIMPLIFIED", 2}, {"ENGLISH", 0}, {"TRADITIONAL", 1}}) {
        SCOPED_TRACE(item);
        rt.UserMenuSelect(rt.GetPanelMenuBar(ctx.gvG1), Item(item));
        EXPECT_EQ(Slurp("Language_Selection.txt"), std::to_string(language));
        EXPECT_EQ(Language(), LanguageOf(language, 733));
        EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), ui::VAL_RED);
    }
    rt.UserMenuSelect(rt.GetPanelMenuBar(ctx.gvG1), Item("EXIT"));
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(rt.GetPanel(ctx.gvG1), nullptr);
}

TEST_F(Shell, StatusColoursAndTheStatusIdControlThenTheCloseBox) {
    Start();
    using M = std::tuple<int, const char*, int>;
    for (auto [id, text, colour] :
         {M{731, "Scanning", ui::VAL_BLUE}, M{732, "Device was found", ui::VAL_DK_GREEN},
          M{733, "Device not found", ui::VAL_RED}, M{734, "Scan Stoped", ui::VAL_BLACK},
          M{730, "Press button Auto Scan", ui::VAL_BLACK}, M{0, "", ui::VAL_BLACK},
          M{999, "", ui::VAL_BLACK}}) {
        scan::fn_1_Status_Msg(ctx, id);
        EXPECT_EQ(Text("STATUS"), text) << id;
        EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), colour) << id;
        EXPECT_EQ(scan::StatusID::GV(ctx), id);
    }
    // Typing an id into the status-id control shows that message.
    rt.UserSetValue(ctx.gvtpScan, Ctrl("STATUS_ID"), 733);
    EXPECT_EQ(Text("STATUS"), "Device not found");
    EXPECT_EQ(Attr("STATUS", ui::ATTR_TEXT_COLOR), ui::VAL_RED);
    // The close box ends the program.
    rt.UserClosePanel(ctx.gvG1);
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_FALSE(ctx.gpLog.IsOpen());
}

// A log that is a FIFO fails at once and is said once, in a popup and on stderr.
TEST_F(Shell, ALogThatIsAFifoIsSaidOnceAndNeverHoldsTheStart) {
    Put("YN_log_dbg.txt", "1 1");
    testing::internal::CaptureStderr();
    {
        FifoGuard fifo("log.txt");
        ASSERT_TRUE(fifo.Made());
        Start();
        scan::logs(ctx, "%s\n", "one");
        scan::Log::Clear(ctx);
        scan::LogWriteAlways(ctx, "two\n");
        EXPECT_FALSE(fifo.HadToFree()) << "the log's open waited on a FIFO";
    }
    const std::string said = "Cannot create log file " + (root_ / "bin" / "log.txt").string() +
                             ": " + std::strerror(ENXIO);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "Event log");
    EXPECT_EQ(fe.Popups()[0].text, said);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), said + "\n");
}

TEST_F(Shell, KeysOpenAndEmptyTheLogAndEnd) {
    Put("YN_log_dbg.txt", "1 0");
    Start();
    scan::logs(ctx, "%s", "before\n");
    ::setenv("VISUAL", "myeditor --wait", 1);
    rt.UserKeyPress(ctx.gvG1, 0, ui::VAL_MENUKEY_MODIFIER | 'O');
    ::unsetenv("VISUAL");
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{
                                  {"myeditor", {"--wait", (root_ / "bin" / "log.txt").string()}}}));
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

TEST_F(Shell, MissingPanelResourceFailsTheStart) {
    fs::remove(root_ / "gui" / "G1.json");
    EXPECT_LT(scan::G1__init(ctx), 0);
    EXPECT_NE(Slurp("log.txt").find("Load panel NG :: "), std::string::npos);
}

}  // namespace
}  // namespace scantest
