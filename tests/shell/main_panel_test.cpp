// Start-up, the main panel's keys, Exit, About and shutdown.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/selector.h"
#include "log/event_log.h"
#include "tests/support/fixtures.h"

namespace {

using tarneltest::TarnelTest;
namespace fs = std::filesystem;

// What a start without "COM_Dev_use.txt" leaves in the log: the report alone.
const std::string kOpenFileNG =
    "\xA1\xB9\xA1\xB9\xA1\xB9 m104__UART :: 591475 \n\xA1\xB9\xA1\xB9\xA1\xB9 open file NG :: "
    "COM_Dev_use.txt \n\n";

// Start-up without settings; then other keys and About do nothing, F2 switches pages and back,
// and Escape opens the log each time.
TEST_F(TarnelTest, StartUpWithoutSettingsThenTheMainPanelsKeys) {
    ::setenv("VISUAL", "vi-editor", 1);
    Start();
    const ui::Panel* panel = rt.GetPanel(ctx.gvMain);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->displayed);
    EXPECT_GT(ctx.gvCFG, 0);
    EXPECT_GT(ctx.gvCAL, 0);
    EXPECT_EQ(rt.TopPanel(ctx.gvCAL), ctx.gvMain);
    int page = -1;
    rt.GetActiveTabPage(ctx.gvMain, Id(ctx.gvMain, "TAB"), &page);
    EXPECT_EQ(page, 0);
    int bar = rt.GetPanelMenuBar(ctx.gvMain);
    EXPECT_EQ(MenuAttr<std::string>(ctx.gvMain, "ABOUT", ui::ATTR_ITEM_NAME), "Ver.2013-05-28-A");
    std::string caption;
    rt.GetPanelAttribute(ctx.gvMain, ui::ATTR_TITLE, &caption);
    EXPECT_EQ(caption, "Tarnel");  // no port, no instrument
    // The group installers leave each selector field at its last member.
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelLinSig), 5);
    EXPECT_EQ(conf::GetField(ctx.gsRAM01, conf::kSelICStep), 8);
    // Without the settings file start-up reports it (the log: see below) and goes on.
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(Status(), "Read NG");

    const int tab = Id(ctx.gvMain, "TAB");
    for (int key : {int{'a'}, int{'~'}, ui::VAL_F1_VKEY, ui::VAL_F2_VKEY | ui::VAL_MENUKEY_MODIFIER,
                    '`' | ui::VAL_MENUKEY_MODIFIER})
        rt.UserKeyPress(ctx.gvMain, 0, key);
    rt.UserMenuSelect(bar, rt.FindMenuItem(bar, "ABOUT"));
    rt.GetActiveTabPage(ctx.gvMain, tab, &page);
    EXPECT_EQ(page, 0);
    EXPECT_FALSE(fe.QuitRequested());
    EXPECT_TRUE(launcher.calls.empty());

    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "FILT"), ui::VAL_F2_VKEY);
    rt.GetActiveTabPage(ctx.gvMain, tab, &page);
    EXPECT_EQ(page, 1);
    rt.UserKeyPress(ctx.gvMain, 0, ui::VAL_F2_VKEY);
    rt.GetActiveTabPage(ctx.gvMain, tab, &page);
    EXPECT_EQ(page, 0);

    std::string log = (fs::current_path() / "log.txt").string();
    rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), ui::VAL_ESC_VKEY);
    conf::LogWriteAlways(ctx, "between\n");
    rt.UserKeyPress(ctx.gvMain, 0, ui::VAL_ESC_VKEY);
    ::unsetenv("VISUAL");
    ASSERT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(launcher.calls[0], (sys::RecordingLauncher::Call{"vi-editor", {log}}));
    EXPECT_EQ(launcher.calls[1], launcher.calls[0]);
    conf::LogWriteAlways(ctx, "after\n");
    ctx.gpLog.Flush();
    // Start-up's report of the missing settings file, then its device check's three attempts
    // on the port that did not open.
    const std::string check = "\tP222\tMB.Tx\t#01.03 <1f00> (0004) {43dd}\tRead\n";
    EXPECT_EQ(Slurp("log.txt"),
              "gvLogYN = 0 \n" + kOpenFileNG + check + check + check + "between\nafter\n");
}

TEST_F(TarnelTest, StartUpOpensThePortFromTheSettingsFileAndRecovers) {
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n0104";
    for (int i = 0; i < 3; ++i)
        device.StaySilent();
    Start();
    EXPECT_TRUE(com.IsOpen(222));
    // The recovery's block read, then read-all's device check: three attempts each.
    ASSERT_EQ(device.requests.size(), 6u);
    EXPECT_EQ(device.requests[0].settings, (serial::LineSettings{19200, 0, 8, 2}));
    EXPECT_EQ(device.requests[3].bytes,
              (std::vector<std::uint8_t>{0x01, 0x03, 0x1F, 0x00, 0x00, 0x04, 0x43, 0xDD}));
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(Slurp("log.txt").rfind("gvLogYN = 0 \nOpen COM ( P222,   COM5, 19200, 0, 8, 2 ) "
                                     "\tSet Com Time (s) : 0.500000\n\n",
                                     0),
              0u);
}

TEST_F(TarnelTest, TheCloseBoxEndsTheProgramWithExitCodeZero) {
    fe.Post([&] { rt.UserClosePanel(ctx.gvMain); });
    EXPECT_EQ(conf::RunConfigurator(ctx), 0);
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(fe.QuitValue(), 1);
    EXPECT_EQ(rt.GetPanel(ctx.gvMain), nullptr);
    EXPECT_EQ(rt.GetPanel(ctx.gvCFG), nullptr);
}

TEST_F(TarnelTest, BackQuoteAndExitEndTheProgram) {
    fe.Post([&] { rt.UserKeyPress(ctx.gvCFG, Id(ctx.gvCFG, "ID"), '`'); });
    EXPECT_EQ(conf::RunConfigurator(ctx), 0);
    EXPECT_EQ(rt.GetPanel(ctx.gvMain), nullptr);

    ui::HeadlessFrontEnd fe2;
    ui::CallbackRegistry registry2;
    ui::Runtime rt2(fe2, registry2);
    conf::Context ctx2(rt2, launcher, conf::ModelA());
    conf::RegisterCallbacks(ctx2, registry2);
    fe2.Post([&] {
        int bar = rt2.GetPanelMenuBar(ctx2.gvMain);
        rt2.UserMenuSelect(bar, rt2.FindMenuItem(bar, "EXIT"));
    });
    EXPECT_EQ(conf::RunConfigurator(ctx2), 0);
    EXPECT_TRUE(fe2.QuitRequested());
}

TEST_F(TarnelTest, AMissingPanelFileEndsTheProgramWithAReason) {
    fs::remove(root_ / "gui" / "G104.json");
    EXPECT_EQ(conf::RunConfigurator(ctx), 1);
    EXPECT_EQ(
        Slurp("log.txt"),
        "gvLogYN = 0 \nLoad panel NG :: ../gui/G104.json: cannot open the panel resource file\n\n");
}

}  // namespace
