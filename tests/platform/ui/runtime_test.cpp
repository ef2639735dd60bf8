// The headless runtime on a small panel resource (a main panel with a tab, another window and a
// trend window of charts): values, lists, tables and attributes as the programs set and read
// them; event dispatch, focus and the user side; timers on the virtual clock, the event loop
// and popups; chart points, gaps, the capacity bound, clearing, attributes and what front ends
// are told.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/fixtures.h"

namespace {

using namespace ui;

const char* kPanelJson = R"({
  "panels": [
    { "name": "MAIN", "title": "Main", "width": 600, "height": 400, "callback": "evMain",
      "menubar": { "menus": [
        { "name": "FILE", "label": "__File", "items": [
          { "name": "PORT", "label": "Port", "checked": true, "callback": "evMenu" },
          { "name": "EXIT", "label": "E__xit", "callback": "evMenu" } ] },
        { "name": "ABOUT", "label": "About", "callback": "evMenu" } ] },
      "controls": [
        { "kind": "numeric", "name": "STATION", "value": 1, "callback": "evCtrl" },
        { "kind": "real", "name": "LIMIT", "value": 12.5, "precision": 1, "callback": "evCtrl" },
        { "kind": "ring", "name": "BAUD", "items": ["2400", "4800", "9600", "19200"], "index": 3,
          "callback": "evCtrl" },
        { "kind": "ring", "name": "CODES", "items": [ { "label": "A", "value": 10 },
                                                   { "label": "B", "value": 20 } ] },
        { "kind": "string", "name": "STATUS", "indicator": true, "value": "idle" },
        { "kind": "command", "name": "READ", "label": "Read", "callback": "evCtrl" },
        { "kind": "toggle", "name": "PV", "label": "PV", "callback": "evCtrl" },
        { "kind": "listbox", "name": "PORTS", "callback": "evCtrl" },
        { "kind": "table", "name": "PARA", "rows": ["COM", "Baud"], "columns": ["Current Using"],
          "cells": [["COM5"], [19200]] },
        { "kind": "timer", "name": "POLL", "interval": 0.5, "callback": "evCtrl" },
        { "kind": "textmsg", "name": "CAPTION", "value": "Station" },
        { "kind": "tab", "name": "TAB", "callback": "evCtrl", "pages": [
          { "name": "CFG", "callback": "evPage", "controls": [
            { "kind": "numeric", "name": "ID", "value": 1, "callback": "evCtrl" },
            { "kind": "radio", "name": "T0", "value": 1, "callback": "evCtrl" },
            { "kind": "radio", "name": "T1", "callback": "evCtrl" } ] },
          { "name": "CAL", "controls": [
            { "kind": "command", "name": "STEP0", "label": "Step 0", "callback": "evCtrl" } ] } ] }
      ] },
    { "name": "OTHER", "controls": [ { "kind": "numeric", "name": "X" } ] },
    { "name": "TREND", "title": "Trend", "controls": [
      { "kind": "chart", "name": "PLAIN" },
      { "kind": "chart", "name": "LEVEL", "label": "Level", "window": 60, "capacity": 100,
        "precision": 1, "left": 10, "top": 20, "width": 400, "height": 200 },
      { "kind": "timer", "name": "POLL", "interval": 1.0, "enabled": true, "callback": "evPoll" } ] }
  ]
})";

// One delivered event, as a callback saw it.
struct Seen {
    std::string who;  // "ctrl", "panel", "menu"
    int panel;
    int control;
    int event;
    int data1;
    bool operator==(const Seen&) const = default;
};

class PanelTest : public ::testing::Test,
                  public conf_test::InScratchDir,
                  public conf_test::HeadlessUi {
  protected:
    void SetUp() override {
        conf_test::WriteFile(file_, kPanelJson);
        registry.AddControl("evCtrl", [this](int p, int c, int e, void*, int d1, int) {
            seen.push_back({"ctrl", p, c, e, d1});
            return ctrlResult;
        });
        registry.AddPanel("evMain", [this](int p, int e, void*, int d1, int) {
            seen.push_back({"panel", p, 0, e, d1});
            return 0;
        });
        registry.AddPanel("evPage", [this](int p, int e, void*, int d1, int) {
            seen.push_back({"page", p, 0, e, d1});
            return pageResult;
        });
        registry.AddMenu("evMenu", [this](int mb, int item, void*, int p) {
            seen.push_back({"menu", p, item, mb, 0});
            return 0;
        });
        main = rt.LoadPanel(0, file_, "MAIN");
        ASSERT_GT(main, 0) << rt.LastError();
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(main, Id(main, "TAB"), 0, &cfg), 0);
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(main, Id(main, "TAB"), 1, &cal), 0);
        station = Id(main, "STATION");
        limit = Id(main, "LIMIT");
        baud = Id(main, "BAUD");
        poll = Id(main, "POLL");
    }
    // Reads back an integer value or attribute; -99 when the read itself fails.
    int Val(int panel, int control) { return CtrlVal(panel, control, -99); }
    int Index(int panel, int control) { return CtrlIndex(panel, control, -99); }
    // Moves virtual time on and checks the ticks seen so far.
    void AdvanceExpecting(double seconds, int ticks) {
        fe.AdvanceTime(seconds);
        EXPECT_EQ(Ticks(), ticks) << "at " << rt.Clock().Now() << " s";
    }
    int Ticks() const {
        int n = 0;
        for (const auto& s : seen)
            n += s.event == ui::EVENT_TIMER_TICK;
        return n;
    }
    // Events seen, without the focus events (most tests look at the rest).
    std::vector<Seen> NonFocus() const {
        std::vector<Seen> out;
        for (const auto& s : seen)
            if (s.event != ui::EVENT_GOT_FOCUS && s.event != ui::EVENT_LOST_FOCUS) out.push_back(s);
        return out;
    }

    std::string file_ = "panel.json";
    std::vector<Seen> seen;
    int ctrlResult = 0;
    int pageResult = 0;
    int main = 0, cfg = 0, cal = 0;
    int station = 0, limit = 0, baud = 0, poll = 0;  // controls of the main panel
};

using RuntimeValues = PanelTest;
using RuntimeEvents = PanelTest;
using Headless = PanelTest;

TEST_F(RuntimeValues, NumericsRingsAndTheAttributesThatApplyToThem) {
    const int codes = Id(main, "CODES");
    // No range coercion (modules check ranges); halves round away from zero.
    for (auto [set, got] : {std::pair{300.0, 300}, std::pair{2.5, 3}, std::pair{-2.5, -3}}) {
        EXPECT_EQ(rt.SetCtrlVal(main, station, set), 0);
        EXPECT_EQ(Val(main, station), got) << set;
    }
    double d = 0;
    rt.SetCtrlVal(main, limit, 9.9994);
    rt.GetCtrlVal(main, limit, &d);
    EXPECT_DOUBLE_EQ(d, 9.9994);  // precision only changes what is shown
    EXPECT_EQ(rt.SetCtrlVal(main, station, std::string("x")), UIE_INVALID_VALUE);
    EXPECT_EQ(Val(main, codes), 10);
    EXPECT_EQ(rt.SetCtrlVal(main, codes, 20), 0);
    EXPECT_EQ(Index(main, codes), 1);
    EXPECT_EQ(rt.SetCtrlVal(main, codes, 30), UIE_INVALID_VALUE);
    EXPECT_EQ(Index(main, codes), 1);
    EXPECT_EQ(rt.SetCtrlIndex(main, baud, 4), UIE_INDEX_OUT_OF_RANGE);
    EXPECT_EQ(rt.SetCtrlIndex(main, baud, 2), 0);
    std::string label;
    rt.GetLabelFromIndex(main, baud, 2, &label);
    EXPECT_EQ(label, "9600");
    EXPECT_EQ(rt.SetCtrlIndex(main, station, 0), UIE_INVALID_CONTROL);
    // Attributes are refused where they do not apply or are out of range.
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_TEXT_COLOR, 0xFFFFFF), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_TEXT_COLOR, 0x1000000), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, limit, ATTR_PRECISION, 3), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(main, baud, ATTR_PRECISION, 1), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_ENABLED, 1), UIE_INVALID_ATTRIBUTE);
    rt.SetCtrlAttribute(main, station, ATTR_CTRL_MODE, VAL_INDICATOR);
    EXPECT_FALSE(rt.CanTakeFocus(main, station));
    std::string name;
    rt.GetCtrlAttribute(main, station, ATTR_CALLBACK_NAME, &name);
    EXPECT_EQ(name, "evCtrl");
    EXPECT_EQ(rt.SetCtrlAttribute(main, 999, ATTR_DIMMED, 1), UIE_INVALID_CONTROL);
    EXPECT_EQ(rt.SetCtrlAttribute(999, station, ATTR_DIMMED, 1), UIE_INVALID_PANEL);
}

TEST_F(RuntimeValues, ListEditingKeepsTheSelectionOnItsItemAndTableCellsCountFromOne) {
    int ports = Id(main, "PORTS"), table = Id(main, "PARA"), n = -1, v = 0;
    EXPECT_EQ(rt.GetCtrlVal(main, ports, &v), UIE_INDEX_OUT_OF_RANGE);  // empty list
    rt.InsertListItem(main, ports, -1, "COM3", 3);
    rt.InsertListItem(main, ports, -1, "COM7", 7);
    rt.SetCtrlIndex(main, ports, 1);
    rt.InsertListItem(main, ports, 0, "COM1", 1);
    EXPECT_EQ(Val(main, ports), 7);
    EXPECT_EQ(rt.InsertListItem(main, ports, 5, "x", 0), UIE_INDEX_OUT_OF_RANGE);
    rt.DeleteListItem(main, ports, 0, 2);
    EXPECT_EQ(Val(main, ports), 7);
    rt.DeleteListItem(main, ports, 0, 1);
    EXPECT_EQ(Index(main, ports), -1);
    rt.InsertListItem(main, ports, -1, "COM5", 5);
    EXPECT_EQ(rt.ClearListCtrl(main, ports), 0);
    rt.GetNumListItems(main, ports, &n);
    EXPECT_EQ(n, 0);
    CellValue cell;
    ASSERT_EQ(rt.GetTableCellVal(main, table, 2, 1, &cell), 0);
    EXPECT_EQ(std::get<int>(cell), 19200);
    rt.SetTableCellVal(main, table, 1, 1, std::string("COM9"));
    rt.GetTableCellVal(main, table, 1, 1, &cell);
    EXPECT_EQ(std::get<std::string>(cell), "COM9");
    EXPECT_EQ(rt.SetTableCellVal(main, table, 3, 1, 0), UIE_INDEX_OUT_OF_RANGE);
    EXPECT_EQ(rt.SetTableCellVal(main, table, 0, 1, 0), UIE_INDEX_OUT_OF_RANGE);
    rt.SetTableRowAttribute(main, table, 2, ATTR_LABEL_TEXT, "Baud rate");
    rt.SetTableColumnAttribute(main, table, 1, ATTR_LABEL_TEXT, "Now");
    std::string s;
    rt.GetTableRowAttribute(main, table, 2, ATTR_LABEL_TEXT, &s);
    EXPECT_EQ(s, "Baud rate");  // and not the column's label
}

// Check marks read and set are the behaviour tests' (their headless front end reads them here).
TEST_F(RuntimeValues, MenusFilesAndTabPagesAreCheckedAndPagesGoWithTheirPanel) {
    const int bar = rt.GetPanelMenuBar(main);
    ASSERT_GT(bar, 0);
    const int about = rt.FindMenuItem(bar, "ABOUT");
    EXPECT_EQ(rt.SetMenuBarAttribute(bar, about, ATTR_CHECKED, 1), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.FindMenuItem(bar, "NOPE"), UIE_INVALID_MENU);
    EXPECT_EQ(rt.GetPanelMenuBar(rt.LoadPanel(0, file_, "OTHER")), 0);
    // A missing or broken file is refused and keeps no panel.
    const std::vector<int> before = rt.PanelHandles();
    EXPECT_EQ(rt.LoadPanel(0, "/nonexistent/G104.json", "P"), UIE_RESOURCE);
    EXPECT_EQ(rt.LastError(), "/nonexistent/G104.json: cannot open the panel resource file");
    conf_test::WriteFile(
        "broken.json",
        R"({"panels":[{"name":"P","controls":[{"kind":"command","callback":"nope"}]}]})");
    EXPECT_EQ(rt.LoadPanel(0, "broken.json", "P"), UIE_UNKNOWN_CALLBACK);
    EXPECT_EQ(rt.LastError(),
              "broken.json: panels[0] \"P\" > controls[0]: unknown control callback \"nope\"");
    EXPECT_EQ(rt.PanelHandles(), before);
    // Tab pages belong to their panel and go with it.
    int tab = Id(main, "TAB"), page = -1, count = 0;
    rt.GetNumTabPages(main, tab, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(rt.SetActiveTabPage(main, tab, 2), UIE_INDEX_OUT_OF_RANGE);
    rt.SetActiveTabPage(main, tab, 1);
    rt.GetActiveTabPage(main, tab, &page);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(rt.TopPanel(cal), main);
    EXPECT_EQ(rt.DiscardPanel(cfg), UIE_INVALID_PANEL);  // pages go with their panel
    EXPECT_EQ(rt.DiscardPanel(main), 0);
    EXPECT_EQ(rt.GetPanel(cfg), nullptr);
    EXPECT_EQ(rt.GetMenuBar(bar), nullptr);
    EXPECT_EQ(rt.SetCtrlVal(main, 1, 1), UIE_INVALID_PANEL);
    EXPECT_EQ(rt.GetActivePanel(), 0);
}

TEST_F(RuntimeEvents, UserInputCommitsAfterValChangedUnlessTheControlRefusesIt) {
    EXPECT_EQ(rt.UserSetValue(main, station, 300), 0);
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", main, station, EVENT_VAL_CHANGED, 0},
                                             {"ctrl", main, station, EVENT_COMMIT, 0}}));
    seen.clear();
    rt.UserSetValue(main, station, 300);  // same value: a commit only
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", main, station, EVENT_COMMIT, 0}}));
    EXPECT_EQ(rt.GetActiveCtrl(main), 0);  // typing does not move the focus; the front end does
    ctrlResult = -7;
    EXPECT_EQ(rt.UserPress(main, Id(main, "READ")), -7);
    // Dimmed, hidden and indicator controls refuse input.
    seen.clear();
    rt.SetCtrlAttribute(main, station, ATTR_DIMMED, 1);
    rt.SetCtrlAttribute(main, limit, ATTR_VISIBLE, 0);
    EXPECT_EQ(rt.UserSetValue(main, station, 5), UIE_NOT_ACCEPTED);
    EXPECT_EQ(rt.UserSetValue(main, limit, 5), UIE_NOT_ACCEPTED);
    EXPECT_EQ(rt.UserSetText(main, Id(main, "STATUS"), "x"), UIE_NOT_ACCEPTED);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(Val(main, station), 300);  // as it was
    EXPECT_EQ(rt.UserSetValue(main, baud, 1), UIE_INVALID_CONTROL);
}

TEST_F(RuntimeEvents, FocusIsRefusedByDimmedHiddenAndInactivePageControlsAndMovesWithEvents) {
    int id = Id(cfg, "ID"), t0 = Id(cfg, "T0"), step0 = Id(cal, "STEP0");
    EXPECT_EQ(rt.SetActiveCtrl(cfg, id), 0);
    EXPECT_EQ(rt.GetActivePanel(), cfg);
    rt.SetCtrlAttribute(cfg, t0, ATTR_DIMMED, 1);
    EXPECT_EQ(rt.SetActiveCtrl(cfg, t0), UIE_NOT_FOCUSABLE);
    rt.SetCtrlAttribute(cfg, t0, ATTR_DIMMED, 0);
    rt.SetCtrlAttribute(cfg, t0, ATTR_VISIBLE, 0);
    EXPECT_EQ(rt.SetActiveCtrl(cfg, t0), UIE_NOT_FOCUSABLE);
    EXPECT_EQ(rt.GetActiveCtrl(cfg), id);  // a refusal leaves the focus where it was
    EXPECT_EQ(rt.SetActiveCtrl(cal, step0), UIE_NOT_FOCUSABLE);  // page not shown
    rt.SetActiveTabPage(main, Id(main, "TAB"), 1);
    EXPECT_EQ(rt.SetActiveCtrl(cal, step0), 0);
    EXPECT_EQ(rt.SetActiveCtrl(main, Id(main, "CAPTION")), UIE_NOT_FOCUSABLE);
    EXPECT_EQ(rt.SetActiveCtrl(main, poll), UIE_NOT_FOCUSABLE);
    EXPECT_EQ(rt.SetActiveCtrl(main, 999), UIE_INVALID_CONTROL);
    // Focus moves within the window with a lost and a got focus event.
    int read = Id(main, "READ");
    seen.clear();
    EXPECT_EQ(rt.SetActiveCtrl(main, read), 0);
    EXPECT_EQ(rt.GetActivePanel(), main);
    EXPECT_EQ(seen, (std::vector<Seen>{{"ctrl", cal, step0, EVENT_LOST_FOCUS, 0},
                                       {"ctrl", main, read, EVENT_GOT_FOCUS, 0}}));
    // Another window only remembers its control until it becomes active.
    int other = rt.LoadPanel(0, file_, "OTHER");
    int x = rt.FindCtrl(other, "X");
    EXPECT_EQ(rt.SetActiveCtrl(other, x), 0);
    EXPECT_EQ(rt.GetActivePanel(), main);
    rt.SetActivePanel(other);
    EXPECT_EQ(rt.GetActivePanel(), other);
    EXPECT_EQ(rt.GetActiveCtrl(other), x);
}

TEST_F(RuntimeEvents, KeysGoToTheControlThenItsPageThenTheMainPanelUntilOneSwallowsThem) {
    int id = Id(cfg, "ID");
    EXPECT_EQ(rt.UserKeyPress(cfg, id, VAL_F2_VKEY), 0);
    EXPECT_EQ(seen, (std::vector<Seen>{{"ctrl", cfg, id, EVENT_KEYPRESS, VAL_F2_VKEY},
                                       {"page", cfg, 0, EVENT_KEYPRESS, VAL_F2_VKEY},
                                       {"panel", main, 0, EVENT_KEYPRESS, VAL_F2_VKEY}}));
    // The control, then the page, swallows the key: its result is returned, no one else sees it.
    for (auto [control, page, count] : {std::tuple{1, 0, 1u}, std::tuple{0, 1, 2u}}) {
        seen.clear();
        ctrlResult = control;
        pageResult = page;
        EXPECT_EQ(rt.UserKeyPress(cfg, id, VAL_ENTER_VKEY), 1);
        EXPECT_EQ(seen.size(), count);
    }
    seen.clear();
    pageResult = 0;
    rt.UserKeyPress(main, 0, VAL_ESC_VKEY);  // no control has the focus
    EXPECT_EQ(seen, (std::vector<Seen>{{"panel", main, 0, EVENT_KEYPRESS, VAL_ESC_VKEY}}));
    // A key that discards the panel ends the dispatch cleanly.
    seen.clear();
    rt.InstallCtrlCallback(
        cfg, id,
        [this](int, int, int e, void*, int, int) {
            if (e == EVENT_KEYPRESS) rt.DiscardPanel(main);
            return 0;
        },
        nullptr);
    EXPECT_EQ(rt.UserKeyPress(cfg, id, '`'), 0);
    EXPECT_EQ(rt.GetPanel(main), nullptr);
    EXPECT_TRUE(seen.empty());
}

TEST_F(RuntimeEvents, TogglesRingsListsTabsTheCloseBoxAndMenusTakeUserInput) {
    int t1 = Id(cfg, "T1"), pv = Id(main, "PV");
    int ports = Id(main, "PORTS"), tab = Id(main, "TAB");
    rt.UserToggle(cfg, t1);
    EXPECT_EQ(Val(cfg, t1), 1);
    EXPECT_EQ(Val(cfg, Id(cfg, "T0")), 1);  // radios are independent: the program keeps a group
    rt.UserToggle(main, pv);
    rt.UserToggle(main, pv);
    EXPECT_EQ(Val(main, pv), 0);
    EXPECT_EQ(NonFocus().back(), (Seen{"ctrl", main, pv, EVENT_COMMIT, 0}));
    EXPECT_EQ(rt.UserSelectIndex(main, baud, 4), UIE_INDEX_OUT_OF_RANGE);
    rt.UserSelectIndex(main, baud, 1);
    EXPECT_EQ(Index(main, baud), 1);
    rt.InsertListItem(main, ports, -1, "COM7", 7);
    seen.clear();
    rt.UserClickUp(main, ports);
    rt.UserSelectTab(main, tab, 1);
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", main, ports, EVENT_LEFT_CLICK_UP, 0},
                                             {"ctrl", main, tab, EVENT_ACTIVE_TAB_CHANGE, 0}}));
    // The close box and menu selections.
    seen.clear();
    rt.UserClosePanel(main);
    int bar = rt.GetPanelMenuBar(main);
    int exitItem = rt.FindMenuItem(bar, "EXIT"), about = rt.FindMenuItem(bar, "ABOUT");
    rt.UserMenuSelect(bar, exitItem);
    rt.UserMenuSelect(bar, about);
    EXPECT_EQ(seen, (std::vector<Seen>{{"panel", main, 0, EVENT_CLOSE, 0},
                                       {"menu", main, exitItem, bar, 0},
                                       {"menu", main, about, bar, 0}}));
    rt.SetMenuBarAttribute(bar, exitItem, ATTR_DIMMED, 1);
    EXPECT_EQ(rt.UserMenuSelect(bar, exitItem), UIE_NOT_ACCEPTED);
    EXPECT_EQ(rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "FILE")), UIE_NOT_ACCEPTED);
}

TEST_F(Headless, TimersTickOnlyWhileEnabledAtTheirIntervalCountedFromTheLastChange) {
    AdvanceExpecting(2.0, 0);
    rt.SetCtrlAttribute(main, poll, ATTR_ENABLED, 1);
    AdvanceExpecting(0.49, 0);
    AdvanceExpecting(0.02, 1);
    AdvanceExpecting(1.0, 3);
    // 0.01 s after the third tick: a new interval counts from now, not from that tick.
    rt.SetCtrlAttribute(main, poll, ATTR_INTERVAL, 1.0);
    AdvanceExpecting(0.9, 3);
    AdvanceExpecting(0.2, 4);
    rt.SetCtrlAttribute(main, poll, ATTR_ENABLED, 0);
    AdvanceExpecting(5.0, 4);
    EXPECT_EQ(rt.TimerTick(main, poll), 0);  // a late tick of a disabled timer is dropped
    EXPECT_EQ(Ticks(), 4);
    // Discarding the panel stops an enabled timer.
    rt.SetCtrlAttribute(main, poll, ATTR_ENABLED, 1);
    EXPECT_EQ(fe.DueTimers().size(), 1u);
    rt.DiscardPanel(main);
    EXPECT_TRUE(fe.DueTimers().empty());
    AdvanceExpecting(2.0, 4);
}

TEST_F(Headless, ALongCallbackDoesNotCauseABurstOfTicks) {
    rt.InstallCtrlCallback(
        main, poll,
        [this](int p, int c, int e, void*, int d1, int) {
            seen.push_back({"ctrl", p, c, e, d1});
            if (seen.size() == 1) rt.Delay(1.6);  // three read time-outs on the first tick
            return 0;
        },
        nullptr);
    rt.SetCtrlAttribute(main, poll, ATTR_ENABLED, 1);
    AdvanceExpecting(0.5, 1);
    EXPECT_DOUBLE_EQ(rt.Clock().Now(), 2.1);
    // The ticks missed during the callback come back as one late tick, not a burst of three.
    AdvanceExpecting(0.4, 2);
    AdvanceExpecting(0.09, 2);
    AdvanceExpecting(0.02, 3);
}

TEST_F(Headless, TheLoopRunsPostedActionsAndTimersUntilQuitOrIdle) {
    bool ran = false;
    fe.Post([&] { ran = true; });
    EXPECT_EQ(rt.RunUserInterface(), UIE_LOOP_IDLE);
    EXPECT_TRUE(ran);
    int ticks = 0;
    rt.InstallCtrlCallback(
        main, poll,
        [&](int, int, int e, void*, int, int) {
            if (e == EVENT_TIMER_TICK && ++ticks == 3) rt.QuitUserInterface(1);
            return 0;
        },
        nullptr);
    fe.Post([&] { rt.SetCtrlAttribute(main, poll, ATTR_ENABLED, 1); });
    EXPECT_EQ(rt.RunUserInterface(), 1);
    EXPECT_EQ(ticks, 3);
    EXPECT_DOUBLE_EQ(rt.Clock().Now(), 1.5);
    EXPECT_TRUE(fe.QuitRequested());
    fe.SetRunLimit(10.0);
    EXPECT_EQ(rt.RunUserInterface(), UIE_LOOP_IDLE);  // a timer alone never ends the loop
    EXPECT_EQ(ticks, 20);
}

// Answered file selections and message texts are checked where the programs use them.
TEST_F(Headless, ADelayRepaintsFirstAndUnansweredPopupsMeanNoAndCancel) {
    // A delay repaints first and runs on the virtual clock.
    int painted = -1;
    fe.VirtualClock().SetDelayHook([&](double) { painted = fe.Repaints(); });
    rt.Delay(0.1);
    EXPECT_EQ(painted, 1);
    EXPECT_DOUBLE_EQ(rt.Clock().Now(), 0.1);
    fe.AnswerConfirm(1);
    EXPECT_EQ(rt.ConfirmPopup("", "Overwrite?"), 1);
    EXPECT_EQ(rt.ConfirmPopup("", "Again?"), 0);
    FileSelectRequest request;
    request.saveButton = true;
    std::string path = "untouched";
    EXPECT_EQ(rt.FileSelectPopup(request, &path), VAL_NO_FILE_SELECTED);
    EXPECT_EQ(path, "untouched");
    ASSERT_EQ(fe.Popups().size(), 3u);
    EXPECT_EQ(fe.Popups()[1].text, "Again?");
    EXPECT_EQ(fe.Popups()[2].type, HeadlessFrontEnd::Popup::Type::FileSelect);
    EXPECT_TRUE(fe.Popups()[2].request.saveButton);
}

// What front ends are told, one entry per Changed call.
class RecordingFrontEnd final : public FrontEnd {
  public:
    void Attach(Runtime&) override {}
    void Changed(Change what, int panel, int control) override {
        changes.emplace_back(what, panel, control);
    }
    int RunLoop() override { return 0; }
    void QuitLoop(int) override {}
    void MessagePopup(const std::string&, const std::string&) override {}
    int ConfirmPopup(const std::string&, const std::string&) override { return 0; }
    int FileSelectPopup(const FileSelectRequest&, std::string*) override {
        return VAL_NO_FILE_SELECTED;
    }
    void BeforeDelay() override {}
    sys::Clock& Clock() override { return clock; }

    std::vector<std::tuple<Change, int, int>> changes;
    sys::VirtualClock clock;
};

// The x of each point, and for each whether it is a gap.
std::vector<std::pair<double, bool>> Shape(const std::vector<ChartPoint>& points) {
    std::vector<std::pair<double, bool>> out;
    for (const auto& p : points)
        out.emplace_back(p.x, p.gap);
    return out;
}

// The trend window loaded beside the main panel, its poll timer reading once a second.
class ChartTest : public PanelTest {
  protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The poll: one reading a second, a failed read (an open sensor) as a gap.
        registry.AddControl("evPoll", [this](int, int, int event, void*, int, int) {
            if (event != EVENT_TIMER_TICK) return 0;
            const double x = rt.Clock().Now();
            return sensorOpen ? rt.ChartAddGap(trend, chart, x)
                              : rt.ChartAddPoint(trend, chart, x, std::fmod(x, 50.0));
        });
        trend = rt.LoadPanel(0, file_, "TREND");
        ASSERT_GT(trend, 0) << rt.LastError();
        chart = Id(trend, "LEVEL");
        plain = Id(trend, "PLAIN");
    }
    // The window, capacity and precision of a chart of the trend panel.
    std::tuple<double, int, int> Attributes(int control) {
        std::tuple<double, int, int> a{0, 0, -1};
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_CHART_WINDOW, &std::get<0>(a)), 0);
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_CHART_CAPACITY, &std::get<1>(a)), 0);
        EXPECT_EQ(rt.GetCtrlAttribute(trend, control, ATTR_PRECISION, &std::get<2>(a)), 0);
        return a;
    }
    std::vector<ChartPoint> Points(int control) {
        std::vector<ChartPoint> out;
        EXPECT_EQ(rt.GetChartPoints(trend, control, &out), 0);
        return out;
    }

    bool sensorOpen = false;
    int trend = 0, chart = 0, plain = 0;
};

TEST_F(ChartTest, PointsAndGapsKeepTheirOrderAndAGapBreaksTheLineOnce) {
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 10.0, 1.5), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 11.0, 2.5), 0);
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 12.0), 0);
    // Further failures only move the break on: a long outage takes one point.
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 13.0), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 14.0, std::nan("")), 0);  // an open sensor
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 15.0, -3.0), 0);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 15.0, -4.0), 0);  // the same x is no step back
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 16.0, std::numeric_limits<double>::infinity()), 0);
    const auto points = Points(chart);
    EXPECT_EQ(Shape(points),
              (std::vector<std::pair<double, bool>>{
                  {10, false}, {11, false}, {14, true}, {15, false}, {15, false}, {16, true}}));
    EXPECT_EQ(std::tie(points[0].y, points[1].y, points[4].y), std::make_tuple(1.5, 2.5, -4.0));
    EXPECT_TRUE(std::isnan(points[2].y));  // a gap has no value, not a zero
    int n = 0;
    EXPECT_EQ(rt.GetNumChartPoints(trend, chart, &n), 0);
    EXPECT_EQ(n, 6);
}

TEST_F(ChartTest, BadPointsAndOtherControlsAreRefusedAndChangeNothing) {
    rt.ChartAddPoint(trend, chart, 100.0, 1.0);
    const double nan = std::nan("");
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 99.0, 2.0), UIE_INVALID_VALUE);  // x went back
    EXPECT_EQ(rt.ChartAddGap(trend, chart, 99.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, nan, 2.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, nan, nan), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.ChartAddGap(trend, chart, std::numeric_limits<double>::infinity()),
              UIE_INVALID_VALUE);
    EXPECT_EQ(Shape(Points(chart)), (std::vector<std::pair<double, bool>>{{100, false}}));

    std::vector<ChartPoint> points;
    int n = 0;
    for (auto [panel, control, code] :
         {std::tuple{main, station, UIE_INVALID_CONTROL},
          std::tuple{trend, 999, UIE_INVALID_CONTROL}, std::tuple{999, chart, UIE_INVALID_PANEL}}) {
        EXPECT_EQ(rt.ChartAddPoint(panel, control, 1.0, 1.0), code);
        EXPECT_EQ(rt.ChartAddGap(panel, control, 1.0), code);
        EXPECT_EQ(rt.ChartClear(panel, control), code);
        EXPECT_EQ(rt.GetChartPoints(panel, control, &points), code);
        EXPECT_EQ(rt.GetNumChartPoints(panel, control, &n), code);
    }
}

TEST_F(ChartTest, TwelveHoursOfAOnceASecondPollKeepTheNewest36000) {
    chart = plain;  // the default capacity: ten hours of one point a second
    fe.AdvanceTime(12 * 3600.0);
    const auto points = Points(plain);
    ASSERT_EQ(points.size(), 36000u);
    EXPECT_EQ(points.front().x, 2 * 3600.0 + 1);  // the first tick came at 1 s
    EXPECT_EQ(points.back().x, 12 * 3600.0);
    for (size_t i = 1; i < points.size(); ++i)
        ASSERT_EQ(points[i].x - points[i - 1].x, 1.0) << i;

    // An outage keeps one gap point however long it lasts, and the poll goes on after it.
    sensorOpen = true;
    fe.AdvanceTime(3600.0);
    sensorOpen = false;
    fe.AdvanceTime(2.0);
    const auto after = Points(plain);
    ASSERT_EQ(after.size(), 36000u);
    EXPECT_EQ(Shape({after.end() - 4, after.end()}),
              (std::vector<std::pair<double, bool>>{{12 * 3600.0, false},
                                                    {13 * 3600.0, true},
                                                    {13 * 3600.0 + 1, false},
                                                    {13 * 3600.0 + 2, false}}));
    EXPECT_EQ(after.front().x, 2 * 3600.0 + 4);
}

TEST_F(ChartTest, ALowerCapacityDropsTheOldestAtOnceAndClearEmptiesTheChart) {
    for (int i = 0; i < 10; ++i)
        rt.ChartAddPoint(trend, chart, i, i);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 4), 0);
    EXPECT_EQ(Shape(Points(chart)), (std::vector<std::pair<double, bool>>{
                                        {6, false}, {7, false}, {8, false}, {9, false}}));
    // A gap counts against the capacity like a point.
    rt.ChartAddGap(trend, chart, 10);
    EXPECT_EQ(Points(chart).front().x, 7);
    EXPECT_EQ(rt.ChartClear(trend, chart), 0);
    EXPECT_TRUE(Points(chart).empty());
    // After a clear the chart starts again anywhere: a new run may begin at an earlier x.
    EXPECT_EQ(rt.ChartAddPoint(trend, chart, 0.5, 1.0), 0);
    EXPECT_EQ(Points(chart).size(), 1u);
}

TEST_F(ChartTest, TheResourceGivesAttributesThatAreCheckedAndBelongToCharts) {
    EXPECT_EQ(Attributes(chart), std::make_tuple(60.0, 100, 1));
    EXPECT_EQ(Attributes(plain), std::make_tuple(600.0, 36000, 0));
    const Control* c = rt.GetControl(trend, chart);
    EXPECT_EQ(c->label, "Level");
    EXPECT_EQ(std::tie(c->left, c->top, c->width, c->height), std::make_tuple(10, 20, 400, 200));
    EXPECT_TRUE(Points(chart).empty());
    // A chart shows; it takes neither the focus nor a value.
    EXPECT_EQ(rt.SetActiveCtrl(trend, chart), UIE_NOT_FOCUSABLE);
    EXPECT_EQ(rt.SetCtrlVal(trend, chart, 1.0), UIE_INVALID_VALUE);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 0.5), 0);
    EXPECT_EQ(std::get<0>(Attributes(chart)), 0.5);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 3600), 0);  // int seconds
    for (double bad : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, bad), UIE_INVALID_VALUE)
            << bad;
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 1000000), 0);
    for (int bad : {0, -5, 1000001})
        EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, bad), UIE_INVALID_VALUE)
            << bad;
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 3), 0);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 16), UIE_INVALID_VALUE);
    EXPECT_EQ(Attributes(chart), std::make_tuple(3600.0, 1000000, 3));

    double window = 0;
    int capacity = 0;
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_CHART_WINDOW, 60.0), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(main, station, ATTR_CHART_CAPACITY, 10), UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.GetCtrlAttribute(main, station, ATTR_CHART_WINDOW, &window),
              UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.GetCtrlAttribute(main, station, ATTR_CHART_CAPACITY, &capacity),
              UIE_INVALID_ATTRIBUTE);
    EXPECT_EQ(rt.SetCtrlAttribute(trend, chart, ATTR_INTERVAL, 1.0), UIE_INVALID_ATTRIBUTE);
}

TEST_F(ChartTest, AFrontEndHearsOfEachPointAloneAndOfAllElseAsAControlChange) {
    RecordingFrontEnd told;
    Runtime own{told, registry};
    const int ownMain = own.LoadPanel(0, file_, "MAIN"),
              ownTrend = own.LoadPanel(0, file_, "TREND");
    told.changes.clear();

    own.ChartAddPoint(ownTrend, chart, 1.0, 1.0);
    own.ChartAddGap(ownTrend, chart, 2.0);
    own.ChartAddGap(ownTrend, chart, 3.0);         // the break moved on: shown as it happens
    own.ChartAddPoint(ownTrend, chart, 0.0, 1.0);  // refused: nothing to show
    own.SetCtrlAttribute(ownTrend, chart, ATTR_CHART_WINDOW, 30.0);
    own.SetCtrlAttribute(ownTrend, chart, ATTR_CHART_CAPACITY, 1);
    own.ChartClear(ownTrend, chart);
    using C = std::tuple<Change, int, int>;
    EXPECT_EQ(told.changes, (std::vector<C>{{Change::ChartAppend, ownTrend, chart},
                                            {Change::ChartAppend, ownTrend, chart},
                                            {Change::ChartAppend, ownTrend, chart},
                                            {Change::Control, ownTrend, chart},
                                            {Change::Control, ownTrend, chart},
                                            {Change::Control, ownTrend, chart}}));

    // The trend is a window of its own: shown and hidden apart from the ownMain panel.
    told.changes.clear();
    own.DisplayPanel(ownMain);
    EXPECT_EQ(own.DisplayPanel(ownTrend), 0);
    EXPECT_EQ(own.HidePanel(ownTrend), 0);
    int shown = -1;
    own.GetPanelAttribute(ownTrend, ATTR_VISIBLE, &shown);
    EXPECT_EQ(shown, 0);
    own.GetPanelAttribute(ownMain, ATTR_VISIBLE, &shown);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(own.TopPanel(ownTrend), ownTrend);
    EXPECT_EQ(told.changes, (std::vector<C>{{Change::PanelDisplayed, ownMain, 0},
                                            {Change::PanelDisplayed, ownTrend, 0},
                                            {Change::PanelDisplayed, ownTrend, 0}}));
    // Its chart goes with it.
    EXPECT_EQ(own.DiscardPanel(ownTrend), 0);
    EXPECT_EQ(own.ChartAddPoint(ownTrend, chart, 5.0, 1.0), UIE_INVALID_PANEL);
}

}  // namespace
