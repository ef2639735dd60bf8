// Event dispatch, focus and the user side of the runtime.

#include <gtest/gtest.h>

#include <tuple>

#include "test_panel.h"

namespace {

using namespace ui;
using uitest::Seen;
using RuntimeEvents = uitest::PanelTest;

TEST_F(RuntimeEvents, UserValueChangeCommitsAfterValChangedAndReturnsTheCommitResult) {
    int station = Id(main, "STATION");
    EXPECT_EQ(rt.UserSetValue(main, station, 300), 0);
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", main, station, EVENT_VAL_CHANGED, 0},
                                             {"ctrl", main, station, EVENT_COMMIT, 0}}));
    seen.clear();
    rt.UserSetValue(main, station, 300);  // same value: a commit only
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", main, station, EVENT_COMMIT, 0}}));
    EXPECT_EQ(rt.GetActiveCtrl(main), 0);  // typing does not move the focus; the front end does
    ctrlResult = -7;
    EXPECT_EQ(rt.UserPress(main, Id(main, "READ")), -7);
}

TEST_F(RuntimeEvents, DimmedHiddenAndIndicatorControlsRefuseInput) {
    int station = Id(main, "STATION"), limit = Id(main, "LIMIT");
    rt.SetCtrlAttribute(main, station, ATTR_DIMMED, 1);
    rt.SetCtrlAttribute(main, limit, ATTR_VISIBLE, 0);
    EXPECT_EQ(rt.UserSetValue(main, station, 5), UIE_NOT_ACCEPTED);
    EXPECT_EQ(rt.UserSetValue(main, limit, 5), UIE_NOT_ACCEPTED);
    EXPECT_EQ(rt.UserSetText(main, Id(main, "STATUS"), "x"), UIE_NOT_ACCEPTED);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(Val(main, station), 1);
    EXPECT_EQ(rt.UserSetValue(main, Id(main, "BAUD"), 1), UIE_INVALID_CONTROL);
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
    EXPECT_EQ(rt.SetActiveCtrl(main, Id(main, "POLL")), UIE_NOT_FOCUSABLE);
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

TEST_F(RuntimeEvents, TogglesRingsListsAndTabsTakeUserInput) {
    int t1 = Id(cfg, "T1"), pv = Id(main, "PV"), baud = Id(main, "BAUD");
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
}

TEST_F(RuntimeEvents, CloseAndMenuSelection) {
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

TEST_F(RuntimeEvents, DelayRepaintsFirstAndRunsOnTheVirtualClock) {
    int painted = -1;
    fe.VirtualClock().SetDelayHook([&](double) { painted = fe.Repaints(); });
    rt.Delay(0.1);
    EXPECT_EQ(painted, 1);
    EXPECT_DOUBLE_EQ(rt.Clock().Now(), 0.1);
}

}  // namespace
