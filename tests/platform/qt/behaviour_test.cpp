// The same user-visible behaviour from the headless and the Qt front end.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel_driver.h"

namespace {

using namespace ui;
using qttest::PanelDriver;

const char* kPanelJson = R"({ "panels": [
  { "name": "MAIN", "title": "Behaviour", "width": 460, "height": 320, "callback": "evPanel",
    "menubar": { "menus": [
      { "name": "FILE", "label": "File", "items": [
        { "name": "PORT", "label": "Port", "checked": true, "callback": "evMenu" },
        { "name": "EXIT", "label": "Exit", "callback": "evMenu" } ] } ] },
    "controls": [
      { "kind": "numeric", "name": "FIRST", "left": 10, "top": 30 },
      { "kind": "numeric", "name": "STATION", "left": 100, "top": 30, "callback": "evCtrl" },
      { "kind": "real", "name": "LIMIT", "precision": 1, "left": 190, "top": 30 },
      { "kind": "string", "name": "NAME", "left": 280, "top": 30, "width": 120,
        "callback": "evCtrl" },
      { "kind": "string", "name": "STATUS", "indicator": true, "value": "idle",
        "left": 10, "top": 80 },
      { "kind": "ring", "name": "BAUD", "items": ["2400", "4800", "9600"],
        "left": 100, "top": 80, "callback": "evCtrl" },
      { "kind": "radio", "name": "CH_A", "label": "A", "value": 1, "left": 190, "top": 80,
        "callback": "evRadio" },
      { "kind": "radio", "name": "CH_B", "label": "B", "left": 190, "top": 104,
        "callback": "evRadio" },
      { "kind": "command", "name": "READ", "label": "Read", "left": 280, "top": 80,
        "callback": "evCtrl" },
      { "kind": "listbox", "name": "PORTS", "items": ["COM1", "COM2", "COM3"],
        "left": 10, "top": 140, "width": 100, "height": 80, "callback": "evCtrl" },
      { "kind": "timer", "name": "POLL", "interval": 0.02, "callback": "evCtrl" },
      { "kind": "tab", "name": "TAB", "left": 130, "top": 140, "width": 300, "height": 150,
        "callback": "evCtrl", "pages": [
          { "name": "P0", "title": "First", "controls": [
            { "kind": "numeric", "name": "ID", "left": 10, "top": 30 } ] },
          { "name": "P1", "title": "Second", "controls": [
            { "kind": "command", "name": "STEP", "label": "Step", "left": 10, "top": 10 } ] }
      ] } ] } ] })";

// One delivered event as a callback saw it.
struct Seen {
    std::string who;  // "ctrl", "panel", "menu"
    int control;      // the menu item for "menu"
    int event;
    int data1;
    int data2;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
    *os << "{" << s.who << " " << s.control << " ev" << s.event << " " << s.data1 << " " << s.data2
        << "}";
}

struct FrontEndKind {
    const char* name;
    qttest::DriverFactory make;
};

class Behaviour : public ::testing::TestWithParam<FrontEndKind> {
  protected:
    void SetUp() override {
        const std::string file =
            ::testing::TempDir() + "qt_behaviour_panel_" + std::to_string(::getpid()) + ".json";
        std::ofstream(file) << kPanelJson;
        registry.AddControl("evCtrl", [this](int, int c, int e, void*, int d1, int d2) {
            seen.push_back({"ctrl", c, e, d1, d2});
            return onCtrl ? onCtrl(c, e, d1) : 0;
        });
        // The program keeps the radio pair exclusive.
        registry.AddControl("evRadio", [this](int p, int c, int e, void*, int, int) {
            if (e != EVENT_COMMIT) return 0;
            rt->SetCtrlVal(p, Id("CH_A"), c == Id("CH_A") ? 1 : 0);
            rt->SetCtrlVal(p, Id("CH_B"), c == Id("CH_B") ? 1 : 0);
            return 0;
        });
        registry.AddPanel("evPanel", [this](int, int e, void*, int d1, int d2) {
            seen.push_back({"panel", 0, e, d1, d2});
            return onPanel ? onPanel(e, d1) : 0;
        });
        registry.AddMenu("evMenu", [this](int mb, int item, void*, int p) {
            seen.push_back({"menu", item, 0, mb, p});
            return 0;
        });
        driver = GetParam().make();
        rt = std::make_unique<Runtime>(driver->FrontEnd(), registry);
        driver->Attach(*rt);
        main = rt->LoadPanel(0, file, "MAIN");
        ASSERT_GT(main, 0) << rt->LastError();
        ASSERT_EQ(rt->GetPanelHandleFromTabPage(main, Id("TAB"), 0, &page0), 0);
        ASSERT_EQ(rt->GetPanelHandleFromTabPage(main, Id("TAB"), 1, &page1), 0);
        menuBar = rt->GetPanelMenuBar(main);
        driver->Show(main);
        seen.clear();
    }

    int Id(const char* name) const { return rt->FindCtrl(main, name); }
    double Value(const char* name) const {
        double v = 0;
        rt->GetCtrlVal(main, Id(name), &v);
        return v;
    }
    qttest::Shown Look(const char* name) { return driver->Look(main, Id(name)); }
    std::vector<Seen> NonFocus() const {
        std::vector<Seen> out;
        for (const auto& s : seen)
            if (s.event != EVENT_GOT_FOCUS && s.event != EVENT_LOST_FOCUS) out.push_back(s);
        return out;
    }

    CallbackRegistry registry;
    std::unique_ptr<PanelDriver> driver;  // before the runtime: it owns the front end
    std::unique_ptr<Runtime> rt;
    std::vector<Seen> seen;
    std::function<int(int, int, int)> onCtrl;  // (control, event, data1) -> result
    std::function<int(int, int)> onPanel;      // (event, data1) -> result
    int main = 0, page0 = 0, page1 = 0, menuBar = 0;
};

TEST_P(Behaviour, TypedNumbersCommitOnEnterAfterTheKeyPressEvenWhenItMovesTheFocus) {
    const int station = Id("STATION");
    driver->ClickInto(main, station);
    driver->Type("300");
    driver->Key(VAL_ENTER_VKEY);
    EXPECT_EQ(Value("STATION"), 300);
    std::vector<Seen> expected{{"ctrl", station, EVENT_GOT_FOCUS, 0, 0}};
    for (int key : {int{'3'}, int{'0'}, int{'0'}, VAL_ENTER_VKEY}) {
        expected.push_back({"ctrl", station, EVENT_KEYPRESS, key, 0});
        expected.push_back({"panel", 0, EVENT_KEYPRESS, key, 0});
    }
    expected.push_back({"ctrl", station, EVENT_VAL_CHANGED, 0, 0});
    expected.push_back({"ctrl", station, EVENT_COMMIT, 0, 0});
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(Look("STATION").focused);

    // The panel takes Enter and moves the focus on: the typed value is not lost.
    onPanel = [this](int e, int key) {
        if (e != EVENT_KEYPRESS || key != VAL_ENTER_VKEY) return 0;
        rt->SetActiveCtrl(main, Id("NAME"));
        return 1;
    };
    driver->ClickInto(main, station);
    driver->Type("42");
    seen.clear();
    driver->Key(VAL_ENTER_VKEY);
    EXPECT_EQ(Value("STATION"), 42);
    EXPECT_EQ(NonFocus(), std::vector<Seen>(expected.end() - 4, expected.end()));  // from Enter
    EXPECT_TRUE(Look("NAME").focused);
    EXPECT_EQ(rt->GetActiveCtrl(main), Id("NAME"));
}

TEST_P(Behaviour, ProgramChangesShowInTheWidgets) {
    rt->SetCtrlVal(main, Id("LIMIT"), 10.0);
    EXPECT_EQ(Look("LIMIT").text, "10.0");
    rt->SetCtrlAttribute(main, Id("LIMIT"), ATTR_PRECISION, 3);
    EXPECT_EQ(Look("LIMIT").text, "10.000");
    rt->SetCtrlVal(main, Id("STATION"), 2.6);
    EXPECT_EQ(Look("STATION").text, "3");
    rt->SetCtrlAttribute(main, Id("STATION"), ATTR_TEXT_BGCOLOR, VAL_RED);
    EXPECT_EQ(Look("STATION").background, VAL_RED);
    rt->SetCtrlVal(main, Id("NAME"), "COM5");
    EXPECT_EQ(Look("NAME").text, "COM5");
    rt->SetCtrlIndex(main, Id("BAUD"), 2);
    EXPECT_EQ(Look("BAUD").text, "9600");
    rt->SetCtrlAttribute(main, Id("READ"), ATTR_LABEL_TEXT, "Stop");
    EXPECT_EQ(Look("READ").text, "Stop");

    EXPECT_TRUE(Look("NAME").enabled);
    rt->SetCtrlAttribute(main, Id("NAME"), ATTR_DIMMED, 1);
    EXPECT_FALSE(Look("NAME").enabled);
    EXPECT_TRUE(Look("READ").visible);
    rt->SetCtrlAttribute(main, Id("READ"), ATTR_VISIBLE, 0);
    EXPECT_FALSE(Look("READ").visible);
    EXPECT_TRUE(seen.empty());  // program changes raise no events
}

TEST_P(Behaviour, DimmedAndIndicatorControlsRefuseFocusAndInput) {
    const int station = Id("STATION");
    rt->SetCtrlAttribute(main, station, ATTR_DIMMED, 1);
    driver->ClickInto(main, station);
    driver->Type("5");
    driver->Key(VAL_ENTER_VKEY);
    EXPECT_FALSE(Look("STATION").focused);
    EXPECT_EQ(Value("STATION"), 0);
    for (const auto& s : seen)
        EXPECT_NE(s.control, station) << "event " << s.event;

    driver->ClickInto(main, Id("STATUS"));
    driver->Type("x");
    driver->Key(VAL_ENTER_VKEY);
    EXPECT_FALSE(Look("STATUS").focused);
    EXPECT_EQ(Look("STATUS").text, "idle");
}

TEST_P(Behaviour, KeysReachTheControlThenThePanelUnlessTheControlSwallowsThem) {
    driver->ClickInto(main, Id("STATION"));
    seen.clear();
    for (int key : {VAL_F2_VKEY, VAL_ESC_VKEY, int{'`'}, 'O' | VAL_MENUKEY_MODIFIER})
        driver->Key(key);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[0], (Seen{"ctrl", Id("STATION"), EVENT_KEYPRESS, VAL_F2_VKEY, 0}));
    EXPECT_EQ(seen[1], (Seen{"panel", 0, EVENT_KEYPRESS, VAL_F2_VKEY, 0}));

    // The program moves the keyboard focus; NAME swallows '7', so it is neither the panel's
    // nor in the text.
    onCtrl = [](int, int e, int key) { return e == EVENT_KEYPRESS && key == '7' ? 1 : 0; };
    ASSERT_EQ(rt->SetActiveCtrl(main, Id("NAME")), 0);
    EXPECT_TRUE(Look("NAME").focused);
    driver->Type("a7b");
    driver->Key(VAL_ENTER_VKEY);
    std::vector<int> panelKeys;
    for (const auto& s : seen)
        if (s.who == "panel" && s.event == EVENT_KEYPRESS) panelKeys.push_back(s.data1);
    EXPECT_EQ(panelKeys,
              (std::vector<int>{0x1100, 0x0300, 0x60, 0x2004F, 'a', 'b', VAL_ENTER_VKEY}));
    std::string name;
    rt->GetCtrlVal(main, Id("NAME"), &name);
    EXPECT_EQ(name, "ab");
}

TEST_P(Behaviour, TheProgramKeepsTheRadioPairExclusive) {
    driver->Click(main, Id("CH_B"));
    EXPECT_FALSE(Look("CH_A").checked);
    EXPECT_TRUE(Look("CH_B").checked);
    driver->Click(main, Id("CH_B"));  // a second click turns it off; the program turns it back on
    EXPECT_TRUE(Look("CH_B").checked);
    EXPECT_EQ(Value("CH_A"), 0);
    EXPECT_EQ(Value("CH_B"), 1);
    // Exclusivity is the program's alone: the buttons show whatever it sets.
    rt->SetCtrlVal(main, Id("CH_A"), 1);
    EXPECT_TRUE(Look("CH_A").checked);
    EXPECT_TRUE(Look("CH_B").checked);
}

TEST_P(Behaviour, RingsButtonsListsAndTabsReportTheirEvents) {
    const int baud = Id("BAUD");
    driver->Choose(main, baud, 2);
    driver->Click(main, Id("READ"));
    driver->ClickItem(main, Id("PORTS"), 1);
    driver->SelectTab(main, Id("TAB"), 1);
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", baud, EVENT_VAL_CHANGED, 0, 0},
                                             {"ctrl", baud, EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("READ"), EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_VAL_CHANGED, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_LEFT_CLICK_UP, 0, 0},
                                             {"ctrl", Id("TAB"), EVENT_ACTIVE_TAB_CHANGE, 0, 1}}));
    int index = -1;
    rt->GetCtrlIndex(main, baud, &index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(Look("BAUD").text, "9600");
    EXPECT_EQ(Look("PORTS").text, "COM2");
    EXPECT_TRUE(driver->Look(page1, rt->FindCtrl(page1, "STEP")).visible);
    rt->SetActiveTabPage(main, Id("TAB"), 0);
    EXPECT_FALSE(driver->Look(page1, rt->FindCtrl(page1, "STEP")).visible);
    EXPECT_TRUE(driver->Look(page0, rt->FindCtrl(page0, "ID")).visible);
}

TEST_P(Behaviour, MenuChecksFollowTheModelSelectionsAndTheCloseBoxCallBack) {
    const int port = rt->FindMenuItem(menuBar, "PORT"), exit = rt->FindMenuItem(menuBar, "EXIT");
    EXPECT_TRUE(driver->LookMenu(menuBar, port).checked);
    EXPECT_TRUE(driver->LookMenu(menuBar, exit).enabled);
    rt->SetMenuBarAttribute(menuBar, port, ATTR_CHECKED, 0);
    EXPECT_FALSE(driver->LookMenu(menuBar, port).checked);
    rt->SetMenuBarAttribute(menuBar, exit, ATTR_DIMMED, 1);
    EXPECT_FALSE(driver->LookMenu(menuBar, exit).enabled);
    driver->SelectMenu(menuBar, exit);
    EXPECT_TRUE(seen.empty());
    rt->SetMenuBarAttribute(menuBar, exit, ATTR_DIMMED, 0);
    driver->SelectMenu(menuBar, exit);
    driver->SelectMenu(menuBar, port);
    EXPECT_EQ(seen, (std::vector<Seen>{{"menu", exit, 0, menuBar, main},
                                       {"menu", port, 0, menuBar, main}}));
    EXPECT_FALSE(driver->LookMenu(menuBar, port).checked);  // choosing it does not check it

    // The close box asks the program and closes nothing.
    seen.clear();
    driver->CloseBox(main);
    EXPECT_EQ(seen, (std::vector<Seen>{{"panel", 0, EVENT_CLOSE, 0, 0}}));
    EXPECT_TRUE(driver->WindowVisible(main));
}

TEST_P(Behaviour, AnEnabledTimerTicksUntilDisabled) {
    int ticks = 0;
    onCtrl = [&ticks](int, int e, int) { return e == EVENT_TIMER_TICK ? ++ticks, 0 : 0; };
    EXPECT_FALSE(driver->WaitFor([&] { return ticks > 0; }, 0.05));
    rt->SetCtrlAttribute(main, Id("POLL"), ATTR_ENABLED, 1);
    EXPECT_TRUE(driver->WaitFor([&] { return ticks >= 3; }, 2.0));
    rt->SetCtrlAttribute(main, Id("POLL"), ATTR_ENABLED, 0);
    const int stopped = ticks;
    EXPECT_FALSE(driver->WaitFor([&] { return ticks > stopped; }, 0.06));
}

INSTANTIATE_TEST_SUITE_P(FrontEnds, Behaviour,
                         ::testing::Values(FrontEndKind{"Headless", &qttest::MakeHeadlessDriver},
                                           FrontEndKind{"Qt", &qttest::MakeQtDriver}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
