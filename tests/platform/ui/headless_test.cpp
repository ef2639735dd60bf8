// The headless front end: timers on the virtual clock, the event loop, popups.

#include "platform/ui/headless.h"

#include <gtest/gtest.h>

#include "test_panel.h"

namespace {

using namespace ui;
class Headless : public uitest::PanelTest {
  protected:
    // Moves virtual time on and checks the ticks seen so far.
    void AdvanceExpecting(double seconds, int ticks) {
        fe.AdvanceTime(seconds);
        EXPECT_EQ(Ticks(), ticks) << "at " << rt.Clock().Now() << " s";
    }
};

TEST_F(Headless, TimersTickOnlyWhileEnabledAtTheirIntervalCountedFromTheLastChange) {
    int poll = Id(main, "POLL");
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
    int poll = Id(main, "POLL");
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
    int poll = Id(main, "POLL"), ticks = 0;
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
TEST_F(Headless, UnansweredPopupsMeanNoAndCancel) {
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
