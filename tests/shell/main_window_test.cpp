// The configurator's main window: start-up, the main panel's keys, Enter-key navigation through
// the three orders of the main panel and its pages, the ends of the program (Exit, the close box,
// Start Scan), and the start-up check of the model descriptor: a broken one ends the program with
// one message on stderr and in a popup before any window shows. Then the captions in the
// scanner's language: the language file, every caption of both models byte for byte, the main
// panel's character set, English status messages, and the window title before and after the
// device is read, from the start-up on the port the settings file names.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/selector.h"
#include "lang/lang_db.h"
#include "lang/panel_language.h"
#include "lang/window_title.h"
#include "log/event_log.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "models/panel_controls.h"
#include "models/registry.h"
#include "shell/model_check.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"
#include "tests/support/registry_models.h"

namespace {

namespace fs = std::filesystem;
using conf::Caption;
using conf::CaptionKind;
using conf::CaptionPanel;
using tarneltest::TarnelTest;

// A panel's attribute as read back.
template <class T = std::string>
T PanelAttr(ui::Runtime& rt, int panel, int attribute, T v = T()) {
    rt.GetPanelAttribute(panel, attribute, &v);
    return v;
}

// Another Tarnel in the test's run-time tree, with a launcher of its own.
struct Another {
    explicit Another(sys::Launcher& launcher, const conf::Model& model = conf::ModelA())
        : rt(fe, registry), ctx(rt, launcher, model) {
        conf::RegisterCallbacks(ctx, registry);
    }
    int Menu(const char* item) {
        const int bar = rt.GetPanelMenuBar(ctx.gvMain);
        return rt.UserMenuSelect(bar, rt.FindMenuItem(bar, item));
    }
    ui::HeadlessFrontEnd fe;
    ui::CallbackRegistry registry;
    ui::Runtime rt;
    conf::Context ctx;
};

// Start-up without settings; then other keys and About do nothing, F2 switches pages and back,
// and Escape opens the log each time.
TEST_F(TarnelTest, StartUpWithoutSettingsThenTheMainPanelsKeys) {
    ::setenv("VISUAL", "vi-editor", 1);
    Start();
    ASSERT_NE(rt.GetPanel(ctx.gvMain), nullptr);
    EXPECT_TRUE(rt.GetPanel(ctx.gvMain)->displayed);
    EXPECT_GT(ctx.gvCFG, 0);
    EXPECT_GT(ctx.gvCAL, 0);
    EXPECT_EQ(rt.TopPanel(ctx.gvCAL), ctx.gvMain);
    const auto page = [&] {
        int p = -1;
        rt.GetActiveTabPage(ctx.gvMain, Id(ctx.gvMain, "TAB"), &p);
        return p;
    };
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(MenuAttr<std::string>(ctx.gvMain, "ABOUT", ui::ATTR_ITEM_NAME), "Ver.2013-05-28-A");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel");  // no port, no instrument
    // The group installers leave each selector field at its last member.
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelICStep), 8);
    // Without the settings file start-up reports it (the log: see below) and goes on.
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(Status(), "Read NG");

    for (int key : {int{'a'}, int{'~'}, ui::VAL_F1_VKEY, ui::VAL_F2_VKEY | ui::VAL_MENUKEY_MODIFIER,
                    '`' | ui::VAL_MENUKEY_MODIFIER})
        rt.UserKeyPress(ctx.gvMain, 0, key);
    Menu("ABOUT");
    EXPECT_EQ(page(), 0);
    EXPECT_FALSE(fe.QuitRequested());
    EXPECT_TRUE(launcher.calls.empty());

    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), ui::VAL_F2_VKEY);
    EXPECT_EQ(page(), 1);
    rt.UserKeyPress(ctx.gvMain, 0, ui::VAL_F2_VKEY);
    EXPECT_EQ(page(), 0);

    std::string log = (fs::current_path() / "log.txt").string();
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ESC_VKEY);
    conf::LogWriteAlways(ctx, "between\n");
    rt.UserKeyPress(ctx.gvMain, 0, ui::VAL_ESC_VKEY);
    ::unsetenv("VISUAL");
    EXPECT_EQ(launcher.calls, std::vector<sys::RecordingLauncher::Call>(2, {"vi-editor", {log}}));
    conf::LogWriteAlways(ctx, "after\n");
    ctx.gpLog.Flush();
    // Start-up's report of the missing settings file, then its device check's three attempts
    // on the port that did not open.
    const std::string check = "\tP222\tMB.Tx\t#01.03 <1f00> (0004) {43dd}\tRead\n";
    EXPECT_EQ(Slurp("log.txt"),
              "gvLogYN = 0 \n\xA1\xB9\xA1\xB9\xA1\xB9 m104__UART :: 591475 \n\xA1\xB9\xA1\xB9"
              "\xA1\xB9 open file NG :: COM_Dev_use.txt \n\n" +
                  check + check + check + "between\nafter\n");
}

// The close box, ` and Exit each end the program, with exit code 0 and its panels gone.
TEST_F(TarnelTest, TheCloseBoxBackQuoteAndExitEndTheProgram) {
    const std::function<void(Another&)> ends[] = {
        [](Another& t) { t.rt.UserClosePanel(t.ctx.gvMain); },
        [](Another& t) { t.rt.UserKeyPress(t.ctx.gvCFG, t.rt.FindCtrl(t.ctx.gvCFG, "ID"), '`'); },
        [](Another& t) { t.Menu("EXIT"); },
    };
    for (const auto& end : ends) {
        Another t(launcher);
        t.fe.Post([&] { end(t); });
        EXPECT_EQ(conf::RunConfigurator(t.ctx), 0);
        EXPECT_TRUE(t.fe.QuitRequested());
        EXPECT_EQ(t.fe.QuitValue(), 1);
        EXPECT_EQ(t.rt.GetPanel(t.ctx.gvMain), nullptr);
        EXPECT_EQ(t.rt.GetPanel(t.ctx.gvCFG), nullptr);
    }
}

TEST_F(TarnelTest, AMissingPanelFileEndsTheProgramWithAReason) {
    fs::remove(root_ / "gui" / "G104.json");
    EXPECT_EQ(conf::RunConfigurator(ctx), 1);
    EXPECT_EQ(
        Slurp("log.txt"),
        "gvLogYN = 0 \nLoad panel NG :: ../gui/G104.json: cannot open the panel resource file\n\n");
}

class FocusOrder : public TarnelTest {
  protected:
    FocusOrder() { Start(); }
    // Presses Enter n times and returns where the focus went each time.
    std::vector<std::string> Walk(int n) {
        std::vector<std::string> seen;
        for (int i = 0; i < n; ++i) {
            Enter();
            seen.push_back(Focused());
        }
        return seen;
    }
};

// The main panel wraps to the active page; each page runs to the read button.
TEST_F(FocusOrder, TheMainPanelWrapsToTheActivePageAndEachPageRunsToRead) {
    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvMain, Id(ctx.gvMain, "READ")), 0);
    EXPECT_EQ(Walk(7),
              (std::vector<std::string>{"main:WRITE", "main:MSPV_B", "main:RSP", "main:DIGIT",
                                        "main:ALARM_AMOUNT", "main:AGENT_WRITE", "cfg:ID"}));
    // A current input: the voltage and millivolt rows are dimmed and skipped.
    rt.UserToggle(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_12"));
    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID")), 0);
    EXPECT_EQ(Walk(29), (std::vector<std::string>{
                            "cfg:BR",    "cfg:RTU",     "cfg:TYPE_10", "cfg:DP",      "cfg:CUT",
                            "cfg:FILT",  "cfg:LOLT",    "cfg:HILT",    "cfg:PVOF",    "cfg:MA_L",
                            "cfg:MA_H",  "cfg:SCA_L",   "cfg:SCA_H",   "cfg:DIR_1",   "cfg:RTS_R_0",
                            "cfg:RTS_L", "cfg:RTS_R_1", "cfg:RTS_H",   "cfg:RTS_R_2", "cfg:A1FU",
                            "cfg:A1MD",  "cfg:A1SP",    "cfg:A1HY",    "cfg:A2FU",    "cfg:A2MD",
                            "cfg:A2SP",  "cfg:A2HY",    "cfg:LOCK",    "main:READ"}));

    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_F2_VKEY);  // calibration page
    rt.SetActiveCtrl(ctx.gvMain, Id(ctx.gvMain, "AGENT_WRITE"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cal:IC_B_0"}));
    ASSERT_EQ(rt.SetActiveCtrl(ctx.gvCAL, Id(ctx.gvCAL, "ICSP_0")), 0);
    EXPECT_EQ(Walk(29), (std::vector<std::string>{
                            "cal:ICSP_1",      "cal:ICSP_3",    "cal:ICSP_4",      "cal:ICSP_5",
                            "cal:ICSP_6",      "cal:ICSP_7",    "cal:ICSP_8",      "cal:IC_B_0",
                            "cal:IC_B_1",      "cal:IC_B_2",    "cal:IC_B_3",      "cal:IC_B_4",
                            "cal:IC_B_5",      "cal:IC_B_6",    "cal:IC_B_7",      "cal:IC_B_8",
                            "cal:RELAY_1",     "cal:RELAY_2",   "cal:RTS_R_CAL_0", "cal:RTS_L_CAL",
                            "cal:RTS_R_CAL_1", "cal:RTS_H_CAL", "cal:RTS_R_CAL_2", "cal:SN_B",
                            "cal:SN_YY",       "cal:SN_MM",     "cal:SN_DD",       "cal:SN_NO",
                            "main:READ"}));
}

// A control outside the orders stays and leaves gr alone, only Enter moves on, dimmed and
// hidden controls are skipped, and a wrap target that refuses leaves the error in gr.
TEST_F(FocusOrder, OnlyEnterMovesAndOnlyToControlsThatTakeTheFocus) {
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "UNIT"));
    ctx.gr = 7;
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cfg:UNIT"}));
    EXPECT_EQ(ctx.gr, 7);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "ID"));
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_DOWN_ARROW_VKEY);
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ENTER_VKEY | ui::VAL_SHIFT_MODIFIER);
    EXPECT_EQ(Focused(), "cfg:ID");

    rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, "DP"), ui::ATTR_DIMMED, 1);
    rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, "CUT"), ui::ATTR_VISIBLE, 0);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "TYPE_10"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"cfg:FILT"}));
    EXPECT_EQ(ctx.gr, 0);
    // A wrap target that refuses: the main panel, with nothing focused on it.
    rt.SetCtrlAttribute(ctx.gvMain, Id(ctx.gvMain, "READ"), ui::ATTR_DIMMED, 1);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "LOCK"));
    Enter();
    EXPECT_EQ(rt.GetActivePanel(), ctx.gvMain);
    EXPECT_EQ(Focused(), "");
    EXPECT_EQ(ctx.gr, ui::UIE_NOT_FOCUSABLE);

    // When every remaining control refuses, the wrap target gets the focus.
    rt.SetCtrlAttribute(ctx.gvMain, Id(ctx.gvMain, "READ"), ui::ATTR_DIMMED, 0);
    for (const char* name : {"A2FU", "A2MD", "A2SP", "A2HY", "LOCK"})
        rt.SetCtrlAttribute(ctx.gvCFG, Id(ctx.gvCFG, name), ui::ATTR_DIMMED, 1);
    rt.SetActiveCtrl(ctx.gvCFG, Id(ctx.gvCFG, "A1HY"));
    EXPECT_EQ(Walk(1), (std::vector<std::string>{"main:READ"}));
}

// Sees the log as the scanner would find it when it starts.
class LogReadingLauncher final : public sys::Launcher {
  public:
    int Launch(const std::string& program, const std::vector<std::string>&) override {
        started = program;
        logAtLaunch = conf_test::ReadFile("log.txt");
        return 0;
    }
    std::string started, logAtLaunch;
};

// Start Scan: the window closes, the scanner starts with the log on disk before it, and the
// program ends with exit code 0, no later action run. A scanner that is missing, or not beside
// the test program for the system launcher, is reported in the log and a popup.
TEST_F(TarnelTest, StartScanStartsTheScannerOrReportsItAndEndsWithExitCodeZero) {
    const std::string launchFail = "\xA2\x69\xA2\x69\xA2\x69 Launch Scan.exe fail\n\n";
    LogReadingLauncher there;
    launcher.missing = {"Scan.exe"};
    sys::SystemLauncher system(conf::SuitePrograms());
    for (sys::Launcher* used : std::initializer_list<sys::Launcher*>{&there, &launcher, &system}) {
        const bool fails = used != &there;
        Another t(*used);
        bool laterActionRan = false;
        t.fe.Post([&] {
            t.fe.ClearPopups();
            conf::LogWriteAlways(t.ctx, "before the scanner\n");
            t.ctx.gpLog.Write("last line\n");  // the traffic trace goes out unflushed
            t.Menu("START_SCAN");
        });
        t.fe.Post([&] { laterActionRan = true; });
        EXPECT_EQ(conf::RunConfigurator(t.ctx), 0);
        EXPECT_EQ(t.ctx.exitCode, 0);
        EXPECT_TRUE(t.fe.QuitRequested());
        EXPECT_FALSE(laterActionRan);
        EXPECT_EQ(t.rt.GetPanel(t.ctx.gvMain), nullptr);
        EXPECT_EQ(t.rt.GetPanel(t.ctx.gvCAL), nullptr);
        // The failure is written whatever the log switches say (both are off here), at once.
        const std::string log = Slurp("log.txt");
        const std::string tail = "before the scanner\nlast line\n" + (fails ? launchFail : "");
        EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
        ASSERT_EQ(t.fe.Popups().size(), fails ? 1u : 0u);
        if (!fails) {
            EXPECT_EQ(there.started, "Scan.exe");
            EXPECT_EQ(there.logAtLaunch, log);
            continue;
        }
        EXPECT_EQ(t.fe.Popups()[0].type, ui::HeadlessFrontEnd::Popup::Type::Message);
        EXPECT_EQ(t.fe.Popups()[0].title, "");
        EXPECT_EQ(t.fe.Popups()[0].text, "Launch Scan.exe fail");
    }
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Scan.exe", {}}}));
}

// --- The model descriptor ---------------------------------------------------------------------

struct DescriptorCase {
    const char* name;
    const conf::Model& (*model)();
    const char* message;  // "": the descriptor holds
};

// Model A with a process value wider than its register, a misspelt program function, or a focus
// order naming a control the panel resource does not have; made once.
struct Broken {
    static const Broken& Made() {
        static const Broken b;
        return b;
    }
    Broken() {
        widePv.poll.pvWidth = 32;
        calls.back().shared = "fn_Ignor";
        focus.cal.push_back("POLAR");
    }
    // Model A with these focus orders and callbacks.
    conf::Model With(const conf::FocusOrders& f, std::span<const conf::CallbackName> c) const {
        return conf::Model{a.id,   a.registers,   a.read,         a.write,   a.file,
                           a.dpp,  a.recovery,    a.transactions, a.startUp, a.remote,
                           a.poll, a.calibration, a.catalogue,    f,         c};
    }
    const conf::Model& a = conf::ModelA();
    std::vector<conf::CallbackName> calls{a.callbacks.begin(), a.callbacks.end()};
    conf::FocusOrders focus = conf::ModelAFocusOrders();
    conf::Model widePv = a, misspelt = With(a.focus, calls),
                foreignFocus = With(focus, a.callbacks);
};

// The broken ones first: a start that holds leaves its log.
const DescriptorCase kDescriptorCases[] = {
    {"WidePv", []() -> const conf::Model& { return Broken::Made().widePv; },
     "model Tarnel: the process-value read takes register 0x1002 PV as 32 bits; the map has it "
     "as 16"},
    {"MisspeltCallback", []() -> const conf::Model& { return Broken::Made().misspelt; },
     "model Tarnel: callback ev104RTUcomm names the program function fn_Ignor, which the "
     "program does not have"},
    {"ForeignFocus", []() -> const conf::Model& { return Broken::Made().foreignFocus; },
     "model Tarnel: the calibration page's focus order names POLAR, which the panel does not "
     "have"},
    {"ModelA", conf::ModelA, ""},
    {"ModelB", conf::ModelB, ""},
};

TEST_F(TarnelTest, ABrokenDescriptorEndsTheProgramBeforeItsWindow) {
    fs::copy_file(fs::path(SUITE_GUI_SOURCE_DIR) / "G105.json", "../gui/G105.json");  // model B's
    for (const DescriptorCase& c : kDescriptorCases) {
        SCOPED_TRACE(c.name);
        Another t(launcher, c.model());
        const std::string expected = c.message;
        std::string message;
        const int descriptor = conf::Model_Check::Descriptor(t.ctx.model, &message);
        const int panel = descriptor < 0 ? -1 : conf::Model_Check::Panel(t.ctx, &message);
        if (expected.empty()) {
            EXPECT_EQ(std::make_pair(descriptor, panel), std::make_pair(0, 0)) << message;
            // The panel loaded for the check is gone again; start-up loads its own.
            EXPECT_EQ(conf::MainPanel::init(t.ctx), 0);
            EXPECT_GT(t.ctx.gvMain, 0);
            continue;
        }
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(conf::RunCheckedConfigurator(t.ctx, t.registry), 1);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), expected + "\n");
        ASSERT_EQ(t.fe.Popups().size(), 1u);
        EXPECT_EQ(t.fe.Popups()[0].title, "Model descriptor");
        EXPECT_EQ(t.fe.Popups()[0].text, expected);
        // No window: start-up never ran.
        EXPECT_EQ(t.ctx.gvMain, 0);
        EXPECT_FALSE(std::filesystem::exists("log.txt"));
    }
}

// --- Captions in the scanner's language -------------------------------------------------------

constexpr const char* kLanguageNames[3] = {"English", "Traditional", "Simplified"};

// A model of the registry in one of the three languages: "TarnelTraditional".
struct LanguageCase {
    const conf::Model* model;
    int language;
};

// A configurator of the case's model, to be started with Language_Selection.txt holding the
// case's language.
class PanelLanguage : public transfertest::TransferTest,
                      public ::testing::WithParamInterface<LanguageCase> {
  protected:
    PanelLanguage() : TransferTest(*GetParam().model) {}
    int ProgramCode() const { return ctx.model.id.programNumber; }

    // What the panel shows where the caption goes.
    std::string Shown(const Caption& c) {
        const int panel = c.panel == CaptionPanel::kMain     ? ctx.gvMain
                          : c.panel == CaptionPanel::kConfig ? ctx.gvCFG
                                                             : ctx.gvCAL;
        switch (c.kind) {
            case CaptionKind::kPageTitle:
                return PanelAttr(rt, panel, ui::ATTR_TITLE);
            case CaptionKind::kLabel:
                return Label(panel, c.name);
            case CaptionKind::kText:
                return CtrlVal<std::string>(panel, Id(panel, c.name));
            case CaptionKind::kMenu:
                return MenuAttr<std::string>(ctx.gvMain, c.name, ui::ATTR_ITEM_NAME);
        }
        return "";
    }
    std::string Label(int panel, const char* name) {
        return CtrlAttr<std::string>(panel, Id(panel, name), ui::ATTR_LABEL_TEXT);
    }
};

const int kCharsets[3] = {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET, ui::VAL_GB2312_CHARSET};

TEST_P(PanelLanguage, CaptionsComeFromTheDatabaseInTheChosenLanguage) {
    const int language = GetParam().language;
    std::ofstream(conf::kLanguageFileName) << language;
    StartWith(ProgramCode(), 2);
    EXPECT_EQ(ctx.gvLANG, language);
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_CHARSET, 0), kCharsets[language]);

    // Every caption of the model's tables shows its database text, and the model has them all.
    int captions = 0;
    for (std::span<const Caption> table : ctx.model.catalogue.captions) {
        for (const Caption& c : table) {
            std::string text;
            conf::LangS::DataBase(ctx, c.textId, language, &text);
            ASSERT_FALSE(text.empty()) << c.textId;
            EXPECT_EQ(Shown(c), text) << (c.name ? c.name : "page") << " " << c.textId;
            ++captions;
        }
    }
    EXPECT_EQ(captions,
              static_cast<int>(std::size(conf::panel::kCaptions)) + (ProgramCode() == 104 ? 3 : 1));
    EXPECT_EQ(conf::LangS::Refresh(ctx), 0);
    EXPECT_TRUE(fe.Popups().empty());  // no "Lang SID not fount"

    // What is not a caption of the database stays as the resource has it.
    EXPECT_EQ(Label(ctx.gvMain, "READ"), "__Read");
    EXPECT_EQ(Label(ctx.gvCFG, "DIR_0"), "Reverse");
    // The status line and the window titles speak English whatever the captions do.
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE),
              ProgramCode() == 104 ? "Tarnel - COM5 - Tarnel 0x68" : "Ombrel - COM5 - Ombrel 0x69");
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    PressRead();
    EXPECT_EQ(Status(), "Read OK");

    // Each model's own captions.
    static const char* const kStartScan[3] = {"__Start Scan",
                                              "\xB6\x7D\xA9\x6C\xB1\xBD\xB4\x79(__S)",
                                              "\xBF\xAA\xCA\xBC\xC9\xA8\xC3\xE8(__S)"};
    static const char* const kUnit[3] = {"Unit", "\xB3\xE6\xA6\xEC", "\xB5\xA5\xCE\xBB"};
    if (ProgramCode() == 104) {
        EXPECT_EQ(MenuAttr<std::string>(ctx.gvMain, "START_SCAN", ui::ATTR_ITEM_NAME),
                  kStartScan[language]);
        EXPECT_EQ(Label(ctx.gvCFG, "UNIT"), kUnit[language]);
    } else {
        // Model B hands back to the scanner with a button, and has no unit parameter.
        EXPECT_EQ(Label(ctx.gvMain, "SCAN_DEV"), kStartScan[language]);
        EXPECT_LT(rt.FindCtrl(ctx.gvCFG, "UNIT"), 0);
        EXPECT_EQ(PanelAttr(rt, ctx.gvTrend, ui::ATTR_TITLE), "Ombrel - Trend");
    }

    // A failed read shows its English message in red.
    SilenceFrom(0);
    PressRead();
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
}

std::vector<LanguageCase> LanguageCases() {
    std::vector<LanguageCase> cases;
    for (const conf::Model* model : conf_test::RegistryModels())
        for (int language = 0; language < 3; ++language)
            cases.push_back({model, language});
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Models, PanelLanguage, ::testing::ValuesIn(LanguageCases()),
                         [](const auto& p) {
                             return std::string(p.param.model->id.programName) +
                                    kLanguageNames[p.param.language];
                         });

TEST(LanguageFile, OnlyOneOfTheThreeDigitsNamesALanguage) {
    using namespace std::string_literals;
    const std::pair<std::string, int> kContents[] = {
        {"0", 0},  {"1", 1},   {"2", 2},    {"2\n", 2},   {" 1 \r\n", 1}, {"", -1},
        {"3", -1}, {"-1", -1}, {"+1", -1},  {"01", -1},   {"1x", -1},     {"1 2", -1},
        {"a", -1}, {"\n", -1}, {"1.0", -1}, {"1\0"s, -1}, {"\xB1", -1},
    };
    for (const auto& [text, language] : kContents)
        EXPECT_EQ(conf::fn_Parse_Language(text), language) << "\"" << text << "\"";
}

// A file that is not one digit 0-2, or not a regular file, starts the captions in English; a
// link to a file follows the file. A FIFO would block a plain open until a writer came: the
// start must not wait on it.
using Fifo = std::optional<test_support::FifoGuard>;
struct OddFile {
    const char* name;
    void (*make)(Fifo&);  // Language_Selection.txt made its way; nullptr: none
    int language;
};
const OddFile kOddFiles[] = {
    {"Missing", nullptr, 0},
    {"OutOfRange", [](Fifo&) { std::ofstream(conf::kLanguageFileName) << "7"; }, 0},
    {"Long", [](Fifo&) { std::ofstream(conf::kLanguageFileName) << std::string(100, ' ') << "1"; },
     0},
    {"Directory", [](Fifo&) { fs::create_directory(conf::kLanguageFileName); }, 0},
    {"Fifo", [](Fifo& fifo) { fifo.emplace(conf::kLanguageFileName); }, 0},
    {"LinkToAFile",
     [](Fifo&) {
         std::ofstream("chosen.txt") << "2";
         fs::create_symlink("chosen.txt", conf::kLanguageFileName);
     },
     2},
};

class OddLanguageFile : public TarnelTest, public ::testing::WithParamInterface<OddFile> {};

TEST_P(OddLanguageFile, StartsInEnglishUnlessItNamesALanguage) {
    Fifo fifo;
    if (GetParam().make) GetParam().make(fifo);
    ASSERT_TRUE(!fifo || fifo->Made());
    Start();
    EXPECT_TRUE(!fifo || !fifo->HadToFree());
    EXPECT_EQ(ctx.gvLANG, GetParam().language);
    // Only the scanner writes the choice.
    EXPECT_EQ(fs::exists(fs::symlink_status(conf::kLanguageFileName)), GetParam().make != nullptr);
    if (GetParam().language != 0) return;
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_CHARSET, 0), ui::VAL_NATIVE_CHARSET);
    EXPECT_EQ(PanelAttr(rt, ctx.gvCFG, ui::ATTR_TITLE), "Configuration");
}

INSTANTIATE_TEST_SUITE_P(Files, OddLanguageFile, ::testing::ValuesIn(kOddFiles),
                         [](const auto& p) { return std::string(p.param.name); });

// --- The window title -------------------------------------------------------------------------

// The common titles are checked on the running program below.
TEST(WindowTitle, NamesProgramPortAndInstrument) {
    const conf::Model& a = conf::ModelA();
    const conf::Model& b = conf::ModelB();
    EXPECT_EQ(conf::fn_Window_Title(a, 257, 104), "Tarnel");
    EXPECT_EQ(conf::fn_Window_Title(a, 5, conf::kModelUnknown), "Tarnel - COM5");
    EXPECT_EQ(conf::fn_Window_Title(a, 256, 106), "Tarnel - COM256 - Quillet (Tarnel) 0x6A");
    EXPECT_EQ(conf::fn_Window_Title(a, 1, 105), "Tarnel - COM1 - H/W not match 0x69");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 105), "Ombrel - COM33 - Ombrel 0x69");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 107), "Ombrel - COM33 - Pardine (Ombrel) 0x6B");
    EXPECT_EQ(conf::fn_Window_Title(b, 33, 104), "Ombrel - COM33 - H/W not match 0x68");
}

using TitleTest = transfertest::TransferTest;

// Start-up opens the port the settings file names. The title names the port alone until the
// instrument answers, and again once it no longer does.
TEST_F(TitleTest, StartUpOpensThePortAndTheTitleNamesTheInstrumentWhileItAnswers) {
    // The instrument does not answer the start (recovery and read-all, three attempts each).
    AttachSim(SimConfig()).AddFault(conf_test::MakeFault(sim::FaultKind::kSilence, 0, 6));
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n0104";
    Start();
    EXPECT_TRUE(com.IsOpen(222));
    const auto asked = Requests();
    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[3], Sealed({0x01, 0x03, 0x1F, 0x00, 0x00, 0x04}));  // read-all's device check
    EXPECT_EQ(Slurp("log.txt").rfind("gvLogYN = 0 \nOpen COM ( P222,   COM5, 19200, 0, 8, 2 ) "
                                     "\tSet Com Time (s) : 0.500000\n\n",
                                     0),
              0u);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5");
    PressRead();
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5 - Tarnel 0x68");
    // A pulled cable: the next check names no instrument.
    SilenceFrom(0);
    PressRead();
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5");
}

TEST_F(TitleTest, AForeignInstrumentIsNamedAsNotMatching) {
    StartWith(0x69, 2);
    EXPECT_EQ(Status(), "H/W not match");
    EXPECT_EQ(PanelAttr(rt, ctx.gvMain, ui::ATTR_TITLE), "Tarnel - COM5 - H/W not match 0x69");
}

}  // namespace
