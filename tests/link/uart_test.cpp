// The link start and the recovery of station, baud rate and frame format, as the requests and
// line settings the instrument sees.

#include "session/uart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "session/link_controls.h"
#include "tests/support/fifo_guard.h"
#include "tests/support/fixtures.h"

namespace {

using linktest::Bytes;
using serial::LineSettings;

class Uart : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        conf_test::WriteFile("COM_Dev_use.txt", "5\n3\n0\n8\n2\n0104");
    }
    // The echo of a single write, as the instrument answers it.
    static Bytes Echo(Bytes request) { return Sealed(std::move(request)); }
};

TEST_F(Uart, RecoveryFollowsTheInstrumentsSecondValues) {
    device.Answer(Sealed({0x01, 0x03, 0x0c, 0, 5, 0, 2, 0, 0, 0, 0, 0, 0, 0, 3}), 0.005);
    device.Answer(Echo({0x01, 0x05, 0x00, 0x0d, 0x00, 0x05}), 0.005);
    device.Answer(Echo({0x05, 0x05, 0x00, 0x0e, 0x00, 0x02}), 0.005);
    device.Answer(Echo({0x05, 0x05, 0x00, 0x1d, 0x00, 0x03}), 0.005);
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

TEST_F(Uart, WithoutTheSettingsFileTheStartIsReported) {
    std::remove("COM_Dev_use.txt");
    EXPECT_EQ(conf::UART::init(ctx), -1);
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "m104__UART :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    EXPECT_EQ(Log(),
              "\xA1\xB9\xA1\xB9\xA1\xB9 m104__UART :: 591475 \n\xA1\xB9\xA1\xB9\xA1\xB9 open file "
              "NG :: COM_Dev_use.txt \n\n");
}

// A settings file the start cannot use is named in the log with what is wrong in it, before
// the popup of the setting that the open then refuses (a field that is no number reads as 0).
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

    // Something other than a file at its name cannot be read: the standard report follows.
    std::filesystem::remove("COM_Dev_use.txt");
    for (bool fifo : {false, true}) {
        SCOPED_TRACE(fifo ? "FIFO" : "folder");
        fe.ClearPopups();
        OpenLog();
        {
            std::unique_ptr<test_support::FifoGuard> guard;
            if (fifo)
                guard = std::make_unique<test_support::FifoGuard>("COM_Dev_use.txt");
            else
                std::filesystem::create_directory("COM_Dev_use.txt");
            EXPECT_EQ(conf::UART::init(ctx), -1);
            if (guard) {
                EXPECT_FALSE(guard->HadToFree()) << "the start waited on a FIFO";
            }
        }
        std::filesystem::remove("COM_Dev_use.txt");
        EXPECT_EQ(Log().rfind(mark + " COM_Dev_use.txt :: not a regular file \n\n" + mark +
                                  " m104__UART :: 591475 \n",
                              0),
                  0u)
            << Log();
        ASSERT_EQ(fe.Popups().size(), 1u);
        EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
    }
}

TEST_F(Uart, APortThatWillNotOpenShowsOpenComNG) {
    conf_test::WriteFile("COM_Dev_use.txt", "6\n3\n0\n8\n2\n0104");
    EXPECT_EQ(conf::UART::init(ctx), -2);
    EXPECT_EQ(Status(), "Open COM NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_NE(Log().find(" m104__UART :: 22881363 \n"), std::string::npos);
}

// The button reads the file again. Its model code is the scanner's: the configurator does not
// use it and says nothing of it.
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
    device.Answer(Echo({0x01, 0x06, 0x00, 0x1f, 0x00, 0x01}), 0.005);
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
