// Start-up, the main panel's keys, Exit, About and shutdown.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/selector.h"
#include "log/event_log.h"
#include "tarnel_fixture.h"

namespace {

using tarneltest::TarnelTest;
namespace fs = std::filesystem;

TEST_F(TarnelTest, StartUpShowsTheMainPanelOnItsConfigurationPage) {
    Start();
    const ui::Panel* panel = rt.GetPanel(ctx.gvG104);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->displayed);
    EXPECT_GT(ctx.gvCFG, 0);
    EXPECT_GT(ctx.gvCAL, 0);
    EXPECT_EQ(rt.TopPanel(ctx.gvCAL), ctx.gvG104);
    int page = -1;
    rt.GetActiveTabPage(ctx.gvG104, Id(ctx.gvG104, "TAB"), &page);
    EXPECT_EQ(page, 0);
    int bar = rt.GetPanelMenuBar(ctx.gvG104);
    std::string caption;
    rt.GetMenuBarAttribute(bar, rt.FindMenuItem(bar, "ABOUT"), ui::ATTR_ITEM_NAME, &caption);
    EXPECT_EQ(caption, "Ver.2013-05-28-A");
    // The group installers leave each selector field at its last member.
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelICStep), 8);
    EXPECT_EQ(Slurp("log.txt"), "gvLogYN = 0 \n");
    EXPECT_TRUE(fe.Popups().empty());
}

TEST_F(TarnelTest, F2SwitchesPagesAndBackAgain) {
    Start();
    int tab = Id(ctx.gvG104, "TAB"), page = -1;
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), ui::VAL_F2_VKEY);
    rt.GetActiveTabPage(ctx.gvG104, tab, &page);
    EXPECT_EQ(page, 1);
    rt.UserKeyPress(ctx.gvG104, 0, ui::VAL_F2_VKEY);
    rt.GetActiveTabPage(ctx.gvG104, tab, &page);
    EXPECT_EQ(page, 0);
}

TEST_F(TarnelTest, EscapeOpensTheLogInTheEditorEachTime) {
    ::setenv("VISUAL", "vi-editor", 1);
    Start();
    std::string log = (fs::current_path() / "log.txt").string();
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ESC_VKEY);
    conf::LogWriteAlways(ctx, "between\n");
    rt.UserKeyPress(ctx.gvG104, 0, ui::VAL_ESC_VKEY);
    ::unsetenv("VISUAL");
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(launcher.calls[0], (sys::RecordingLauncher::Call{"vi-editor", {log}}));
    EXPECT_EQ(launcher.calls[1], launcher.calls[0]);
    conf::LogWriteAlways(ctx, "after\n");
    ctx.gpLog.Flush();
    EXPECT_EQ(Slurp("log.txt"), "gvLogYN = 0 \nbetween\nafter\n");
}

TEST_F(TarnelTest, TheCloseBoxEndsTheProgramWithExitCodeZero) {
    fe.Post([&] { rt.UserClosePanel(ctx.gvG104); });
    EXPECT_EQ(conf::Run104(ctx), 0);
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(fe.QuitValue(), 1);
    EXPECT_EQ(rt.GetPanel(ctx.gvG104), nullptr);
    EXPECT_EQ(rt.GetPanel(ctx.gvCFG), nullptr);
}

TEST_F(TarnelTest, BackQuoteAndExitEndTheProgram) {
    fe.Post([&] { rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), '`'); });
    EXPECT_EQ(conf::Run104(ctx), 0);
    EXPECT_EQ(rt.GetPanel(ctx.gvG104), nullptr);

    ui::HeadlessFrontEnd fe2;
    ui::CallbackRegistry registry2;
    ui::Runtime rt2(fe2, registry2);
    conf::Context ctx2(rt2, launcher);
    conf::RegisterCallbacks104(ctx2, registry2);
    fe2.Post([&] {
        int bar = rt2.GetPanelMenuBar(ctx2.gvG104);
        rt2.UserMenuSelect(bar, rt2.FindMenuItem(bar, "EXIT"));
    });
    EXPECT_EQ(conf::Run104(ctx2), 0);
    EXPECT_TRUE(fe2.QuitRequested());
}

TEST_F(TarnelTest, OtherKeysAndAboutDoNothing) {
    Start();
    int bar = rt.GetPanelMenuBar(ctx.gvG104);
    for (int key : {int{'a'}, int{'~'}, ui::VAL_F1_VKEY, ui::VAL_F2_VKEY | ui::VAL_MENUKEY_MODIFIER,
                    '`' | ui::VAL_MENUKEY_MODIFIER})
        rt.UserKeyPress(ctx.gvG104, 0, key);
    rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "ABOUT"));
    int page = -1;
    rt.GetActiveTabPage(ctx.gvG104, Id(ctx.gvG104, "TAB"), &page);
    EXPECT_EQ(page, 0);
    EXPECT_FALSE(fe.QuitRequested());
    EXPECT_TRUE(launcher.calls.empty());
}

TEST_F(TarnelTest, AMissingPanelFileEndsTheProgramWithAReason) {
    fs::remove(root_ / "gui" / "G104.json");
    EXPECT_EQ(conf::Run104(ctx), 1);
    EXPECT_EQ(
        Slurp("log.txt"),
        "gvLogYN = 0 \nLoad panel NG :: ../gui/G104.json: cannot open the panel resource file\n\n");
}

}  // namespace
