// The port device, the settings files and the port menu item; the link start and the recovery
// of station, baud rate and frame format, as the requests and line settings the instrument sees.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "link/port_settings.h"
#include "platform/serial/serial_error.h"
#include "session/link_controls.h"
#include "session/port_dev.h"
#include "session/uart.h"
#include "tests/support/fixtures.h"

namespace {

using linktest::Bytes;
using serial::LineSettings;

// The link panel with its log, and a settings file for COM5 at 19200 8N2.
class PortTest : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        conf_test::WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\n0104");
    }
    std::string LastPopup() const {
        return fe.Popups().empty() ? "" : fe.Popups().back().title + "|" + fe.Popups().back().text;
    }
};
using PortDev = PortTest;
using Uart = PortTest;

TEST_F(PortDev, EverySettingIsCheckedBeforeThePortIsTouched) {
    struct Case {
        int com, br, parity, data, stop;
        const char* popup;
    } cases[] = {
        {0, 3, 0, 8, 2, "fn_Open_Com()|COM port number out of range"},
        {257, 3, 0, 8, 2, "fn_Open_Com()|COM port number out of range"},
        {5, 4, 0, 8, 2, "fn_Open_Com :: Baud Rate Sequence|BR out of range"},
        {5, 3, 5, 8, 2, "fn_Open_Com :: Parity Bit|vPB out of range"},
        {5, 3, 0, 9, 2, "fn_Open_Com :: Data Bit|vDB out of range"},
        {5, 3, 0, 8, 0, "fn_Open_Com :: Stop Bit|vSB out of range : 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(conf::cf_Port_Dev__Open(ctx, c.com, c.br, c.parity, c.data, c.stop, 1), -1)
            << c.popup;
        EXPECT_EQ(LastPopup(), c.popup);
    }
    EXPECT_FALSE(com.IsOpen(222));
    EXPECT_EQ(Log(), "");  // "err COM#" goes through the event-line switch, off here
}

TEST_F(PortDev, AnOpenLeavesOneRecordAndAFailedOneSaysWhy) {
    EXPECT_EQ(conf::fn_BR_to_Baud(0), 2400);
    EXPECT_EQ(conf::cf_Port_Dev__Open(ctx, 5, 2, 2, 8, 1, 1), 0);
    EXPECT_EQ(Log(), "Open COM ( P222,   COM5, 9600, 2, 8, 1 ) \tSet Com Time (s) : 0.500000\n\n");
    EXPECT_TRUE(com.IsOpen(222));
    EXPECT_TRUE(fe.Popups().empty());

    OpenLog();
    // 256 is a valid number, unmapped.
    EXPECT_EQ(conf::cf_Port_Dev__Open(ctx, 256, 3, 0, 8, 2, 1), serial::kErrNotMapped);
    EXPECT_FALSE(com.IsOpen(222));
    EXPECT_EQ(
        Log(),
        "Open COM ( P222, COM256, 19200, 0, 8, 2 ) \topen NG :: COM port not mapped: link the "
        "device as COM<n> in the comports folder ('COM256' is not mapped to a device: link "
        "COM256 in /virtual)\n\n");
}

TEST_F(PortDev, SettingsFilesAreWrittenAsTheScannerWritesThem) {
    conf::mf_Port_Dev__Record(ctx, 5, 3, 0, 8, 2, 0x10104);
    EXPECT_EQ(conf_test::ReadFile("COM_Dev_use.txt"), "5\n3\n0\n8\n2\n0104");
    EXPECT_EQ(conf_test::ReadFile("COM_Dev_use_COMMENT.txt"),
              "5     \tCOM #\n3     \tBaud 19200\n0     \tParity bit\n8     \tData bit\n"
              "2     \tStop bit\n0104\tMcode of Dev (hex)");
    conf::PortSettings s;
    ASSERT_EQ(conf::fn_Read_Port_Settings(&s), 0);
    EXPECT_EQ(s.com, 5);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.mcode, 0x0104u);
    // A malformed file reads as zeros, which the open then refuses.
    conf_test::WriteFile("COM_Dev_use.txt", "5\nnine\n");
    s = {};
    ASSERT_EQ(conf::fn_Read_Port_Settings(&s), 0);
    EXPECT_EQ(s.com, 5);
    EXPECT_EQ(s.br, 0);
    EXPECT_EQ(s.dataBits, 0);
}

// Each field of the settings file at both ends of its range is taken; one past an end is
// named with its line and range.
TEST_F(PortDev, EachSettingsFieldIsTakenUpToItsEndsAndRefusedPastThem) {
    const std::pair<const char*, const char*> files[] = {
        {"256\n3\n4\n8\n2\nffff", ""},
        {"1\n0\n0\n5\n1\n0000", ""},
        {"257\n3\n0\n8\n2\n0104", "line 1: COM number 257 out of range 1-256"},
        {"0\n3\n0\n8\n2\n0104", "line 1: COM number 0 out of range 1-256"},
        {"5\n4\n0\n8\n2\n0104", "line 2: baud-rate index 4 out of range 0-3"},
        {"5\n-1\n0\n8\n2\n0104", "line 2: baud-rate index -1 out of range 0-3"},
        {"5\n3\n5\n8\n2\n0104", "line 3: parity 5 out of range 0-4"},
        {"5\n3\n0\n9\n2\n0104", "line 4: data bits 9 out of range 5-8"},
        {"5\n3\n0\n4\n2\n0104", "line 4: data bits 4 out of range 5-8"},
        {"5\n3\n0\n8\n3\n0104", "line 5: stop bits 3 out of range 1-2"},
        {"5\n3\n0\n8\n0\n0104", "line 5: stop bits 0 out of range 1-2"},
        {"5\n3\n0\n8\n2\n10000", "line 6: model code 10000 out of range 0000-ffff"},
    };
    for (const auto& [content, expected] : files) {
        SCOPED_TRACE(content);
        conf_test::WriteFile("COM_Dev_use.txt", content);
        conf::PortSettings s;
        std::string problem = "old";
        const int r = conf::fn_Read_Port_Settings(&s, conf::kPortFieldsAll, &problem);
        EXPECT_EQ(problem, expected);
        if (!*expected) {
            EXPECT_EQ(r, 0);
        }
    }
}

TEST_F(PortDev, ReopenTakesTheFilesComNumberAndTheSelectorsSettingsAndReportsAMissingOrBadFile) {
    conf::BR_comm::SI(ctx, 2);
    conf::RTU_comm::SI(ctx, 3);
    EXPECT_EQ(conf::mf_Port_Dev__Reopen_after_BR_RTU_change(ctx), 0);
    EXPECT_EQ(Log(), "Open COM ( P222,   COM5, 9600, 2, 8, 1 ) \tSet Com Time (s) : 0.500000\n\n");
    conf::RTU_comm::SI(ctx, 1);
    conf::mf_Port_Dev__Reopen_after_BR_RTU_change(ctx);
    EXPECT_NE(Log().find("Open COM ( P222,   COM5, 9600, 0, 8, 2 )"), std::string::npos);
    // The reopen reports a missing file; it uses the COM number alone: only that field's trouble
    // is named in the log.
    std::remove("COM_Dev_use.txt");
    EXPECT_EQ(conf::mf_Port_Dev__Reopen_after_BR_RTU_change(ctx), -1);  // no file at all
    EXPECT_EQ(LastPopup(), "m104__UART :: 729354956|open file NG :: COM_Dev_use.txt");

    OpenLog();
    const std::string mark = "\xA1\xB9\xA1\xB9\xA1\xB9";
    conf_test::WriteFile("COM_Dev_use.txt", "\n\n  COM5\n3\n0\n8\n2\n0104");
    EXPECT_EQ(conf::mf_Port_Dev__Reopen_after_BR_RTU_change(ctx), -2);
    EXPECT_EQ(Log().rfind(mark + " COM_Dev_use.txt :: line 3: COM number is not a number \n\n", 0),
              0u)
        << Log();
    EXPECT_EQ(LastPopup(), "fn_Open_Com()|COM port number out of range");

    OpenLog();
    conf_test::WriteFile("COM_Dev_use.txt", "5\nnine\n");
    EXPECT_EQ(conf::mf_Port_Dev__Reopen_after_BR_RTU_change(ctx), 0);
    EXPECT_EQ(Log().find("COM_Dev_use.txt"), std::string::npos) << Log();
}

TEST_F(PortDev, ThePortMenuItemClosesAndReopens) {
    OpenPort();
    int bar = rt.GetPanelMenuBar(ctx.gvMain), item = rt.FindMenuItem(bar, "PORT");
    conf::ev_Port(ctx, bar, item, nullptr, ctx.gvMain);
    EXPECT_FALSE(com.IsOpen(222));
    EXPECT_EQ(Status(), "Close COM port");
    EXPECT_EQ(StatusColour(), 0x000000);
    conf::BR_comm::SI(ctx, 1);
    conf::ev_Port(ctx, bar, item, nullptr, ctx.gvMain);
    EXPECT_TRUE(com.IsOpen(222));
    EXPECT_EQ(Status(), "Open COM port OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_NE(Log().find("Open COM ( P222,   COM5, 4800, 0, 8, 2 )"), std::string::npos);
    int checked = 0;
    rt.GetMenuBarAttribute(bar, item, ui::ATTR_CHECKED, &checked);
    EXPECT_EQ(checked, 1);

    // A failed reopen takes the mark away again.
    conf::ev_Port(ctx, bar, item, nullptr, ctx.gvMain);
    conf_test::WriteFile("COM_Dev_use.txt", "99\n3\n0\n8\n2\n0104");
    conf::ev_Port(ctx, bar, item, nullptr, ctx.gvMain);
    rt.GetMenuBarAttribute(bar, item, ui::ATTR_CHECKED, &checked);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(Status(), "Open COM NG :: err code : -1");
    EXPECT_EQ(StatusColour(), 0xFF0000);
}

TEST_F(Uart, RecoveryFollowsTheInstrumentsSecondValues) {
    device.Answer(Sealed({0x01, 0x03, 0x0c, 0, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3}), 0.005);
    device.Answer(Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x05}), 0.005);
    device.Answer(Sealed({0x05, 0x05, 0x00, 0x0e, 0x00, 0x02}), 0.005);
    device.Answer(Sealed({0x05, 0x05, 0x00, 0x1d, 0x00, 0x03}), 0.005);
    EXPECT_EQ(conf::UART::init(ctx), 0);
    ASSERT_EQ(device.requests.size(), 4u);
    EXPECT_EQ(device.requests[0].bytes, Sealed({0x01, 0x03, 0x10, 0x00, 0x00, 0x06}));
    EXPECT_EQ(device.requests[0].settings, (LineSettings{19200, 0, 8, 2}));
    EXPECT_EQ(device.requests[1].bytes, Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x05}));
    EXPECT_EQ(device.requests[2].bytes, Sealed({0x05, 0x05, 0x00, 0x0e, 0x00, 0x02}));
    EXPECT_EQ(device.requests[2].settings, (LineSettings{19200, 0, 8, 2}));
    EXPECT_EQ(device.requests[3].bytes, Sealed({0x05, 0x05, 0x00, 0x1d, 0x00, 0x03}));
    EXPECT_EQ(device.requests[3].settings, (LineSettings{9600, 0, 8, 2}));
    EXPECT_EQ(com.IsOpen(222), true);
    EXPECT_EQ(Station(), 5);
    EXPECT_EQ(Index("BR_COMM"), 2);
    EXPECT_EQ(Index("RTU_COMM"), 3);
    std::string log = Log();
    EXPECT_NE(log.find("Open COM ( P222,   COM5, 9600, 2, 8, 1 ) \t"), std::string::npos) << log;
}

TEST_F(Uart, ASilentInstrumentLeavesTheSelectorsAndSaysReadNGAFailedWriteWriteNG) {
    conf::BR_comm::SI(ctx, 1);
    EXPECT_EQ(conf::UART::init(ctx), -1);
    EXPECT_EQ(device.requests.size(), 3u);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Index("BR_COMM"), 1);
    EXPECT_EQ(Station(), 1);

    device.Answer(Sealed({0x01, 0x03, 0x0c, 0, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3}), 0.005);
    EXPECT_EQ(conf::UART::init(ctx), -1);
    EXPECT_EQ(Status(), "Write NG");
    EXPECT_EQ(Station(), 1);  // only set after the instrument took it
}

TEST_F(Uart, ABadSettingsFileIsNamedInTheLogWithWhatWasWrong) {
    const char* kCom = "fn_Open_Com()|COM port number out of range";
    const struct {
        const char* what;
        std::string content;
        const char* problem;
        const char* popup;
    } files[] = {
        {"empty", "", "empty", kCom},
        {"blank", " \n\n\t", "empty", kCom},
        {"garbage", "COM5\n3\n0\n8\n2\n0104", "line 1: COM number is not a number", kCom},
        {"binary", std::string("\177ELF\2\1\1\0\0\0", 10), "line 1: COM number is not a number",
         kCom},
        {"COM number too big", "300\n3\n0\n8\n2\n0104", "line 1: COM number 300 out of range 1-256",
         kCom},
        {"COM number beyond any int", "99999999999999999999\n3\n0\n8\n2\n0104",
         "line 1: COM number 99999999999999999999 out of range 1-256", kCom},
        {"a blank line before the baud rate", "5\n\n7\n0\n8\n2\n0104",
         "line 3: baud-rate index 7 out of range 0-3",
         "fn_Open_Com :: Baud Rate Sequence|BR out of range"},
        {"data bits not a number", "5\n3\n0\nx8\n2\n0104", "line 4: data bits is not a number",
         "fn_Open_Com :: Data Bit|vDB out of range"},
        {"cut short", "5\n3\n0\n8\n", "stop bits missing after line 4",
         "fn_Open_Com :: Stop Bit|vSB out of range : 0"},
    };
    const std::string mark = "\xA1\xB9\xA1\xB9\xA1\xB9";
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        fe.ClearPopups();
        OpenLog();
        conf_test::WriteFile("COM_Dev_use.txt", f.content);
        EXPECT_EQ(conf::UART::init(ctx), -2);
        EXPECT_EQ(Log().rfind(mark + " COM_Dev_use.txt :: " + f.problem + " \n\n", 0), 0u) << Log();
        ASSERT_EQ(fe.Popups().size(), 1u);
        EXPECT_EQ(fe.Popups()[0].title + "|" + fe.Popups()[0].text, f.popup);
    }

    // A folder at its name cannot be read: the standard report follows.
    std::filesystem::remove("COM_Dev_use.txt");
    std::filesystem::create_directory("COM_Dev_use.txt");
    fe.ClearPopups();
    OpenLog();
    EXPECT_EQ(conf::UART::init(ctx), -1);
    EXPECT_EQ(Log().rfind(mark + " COM_Dev_use.txt :: not a regular file \n\n" + mark +
                              " m104__UART :: 591475 \n",
                          0),
              0u)
        << Log();
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
}

TEST_F(Uart, TheUartButtonReadsTheFileAgainAndLeavesTheModelCodeAlone) {
    conf_test::WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\nnot hex");
    OpenPort();
    conf::ID_comm::SV(ctx, 1);
    int button = 0;
    conf::evUART(ctx, ctx.gvMain, button, ui::EVENT_COMMIT, nullptr, 0, 0);
    EXPECT_EQ(Log().rfind("Open COM ( P222,   COM5, 19200, 0, 8, 2 ) \t", 0), 0u) << Log();
    EXPECT_TRUE(fe.Popups().empty());
    EXPECT_EQ(device.requests.size(), 3u);
}

TEST_F(Uart, TheRs485SwitchWritesRegister31ToEeprom) {
    OpenPort();
    int sw = rt.FindCtrl(ctx.gvMain, "RS485");
    rt.SetCtrlVal(ctx.gvMain, sw, 1);
    device.Answer(Sealed({0x01, 0x06, 0x00, 0x1f, 0x00, 0x01}), 0.005);
    EXPECT_EQ(conf::RS485_on_off(ctx, ctx.gvMain, sw, ui::EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(device.requests[0].bytes, (Bytes{0x01, 0x06, 0x00, 0x1F, 0x00, 0x01, 0x79, 0xCC}));
    EXPECT_EQ(Status(), "Write OK");
    EXPECT_EQ(StatusColour(), 0x008000);
    EXPECT_LT(conf::RS485_on_off(ctx, ctx.gvMain, sw, ui::EVENT_COMMIT, nullptr, 0, 0), 0);
    EXPECT_EQ(Status(), "Write NG");
    EXPECT_EQ(conf::RS485_on_off(ctx, ctx.gvMain, sw, ui::EVENT_KEYPRESS, nullptr, 0, 0), 0);
    EXPECT_EQ(device.requests.size(), 4u);  // the key press sent nothing
}

}  // namespace
