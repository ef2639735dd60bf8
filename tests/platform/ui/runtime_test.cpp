// The headless runtime on a small panel: values, lists, tables and attributes as the programs
// set and read them; event dispatch, focus and the user side; timers on the virtual clock, the
// event loop and popups.

#include <gtest/gtest.h>

#include <tuple>

#include "test_panel.h"

namespace {

using namespace ui;
using uitest::Seen;
using RuntimeValues = uitest::PanelTest;
using RuntimeEvents = uitest::PanelTest;
using Headless = uitest::PanelTest;

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

}  // namespace
