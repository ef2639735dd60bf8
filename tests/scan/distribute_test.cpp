// The hand-over: both settings files byte for byte, the configurator chosen from the file's
// model code, and what happens when a file or a configurator is missing.

#include "scan/distribute.h"

#include "tests/support/fixtures.h"

namespace scantest {
namespace {

class Distribute : public ScanTest {
  protected:
    void SetUp() override {
        ScanTest::SetUp();
        Start();
    }
};

TEST_F(Distribute, RecordWritesBothFilesWithoutALineEndAfterTheModelCode) {
    Put("COM_Dev_use.txt", "an older, longer settings file that must not leave a tail\n");
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 12, 3, 0, 8, 2, 0x6B03), 0);
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "12\n3\n0\n8\n2\n6b03");
    EXPECT_EQ(Slurp("COM_Dev_use_COMMENT.txt"),
              "12    \tCOM #\n3     \tBaud 19200\n0     \tParity bit\n8     \tData bit\n"
              "2     \tStop bit\n6b03\tMcode of Dev (hex)");
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 256, 3, 0, 8, 2, 0x0009), 0);
    EXPECT_EQ(Slurp("COM_Dev_use.txt"), "256\n3\n0\n8\n2\n0009");
}

TEST_F(Distribute, RecordThatCannotWriteSaysSo) {
    std::filesystem::create_directory("COM_Dev_use_COMMENT.txt");
    EXPECT_EQ(scan::mf_Port_Dev__Record(ctx, 1, 3, 0, 8, 2, 0x6801), -1);
}

TEST_F(Distribute, HardwareCodeChoosesTheConfigurator) {
    struct Case {
        const char* mcode;
        const char* program;  // empty: none
    };
    const Case cases[] = {{"6800", "Tarnel.exe"}, {"68ff", "Tarnel.exe"}, {"6a55", "Tarnel.exe"},
                          {"6901", "Ombrel.exe"}, {"6bff", "Ombrel.exe"}, {"67ff", ""},
                          {"6c00", ""},           {"0068", ""},           {"ffff", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mcode);
        EXPECT_EQ(scan::ConfiguratorOf(std::stoi(c.mcode, nullptr, 16) >> 8), c.program);
    }
}

TEST_F(Distribute, TheFileDecidesAndTheConfiguratorStartsAfterScanHasClosed) {
    Put("COM_Dev_use.txt", "7\n3\n0\n8\n2\n6a41");
    EXPECT_EQ(scan::fn_Distribute(ctx), 0);
    EXPECT_EQ(launcher.calls, (std::vector<sys::RecordingLauncher::Call>{{"Tarnel.exe", {}}}));
    EXPECT_TRUE(fe.QuitRequested());
    EXPECT_EQ(rt.GetPanel(ctx.gvG1), nullptr);
    EXPECT_EQ(ctx.gr, 0);
    EXPECT_TRUE(fe.Popups().empty());
}

TEST_F(Distribute, UnknownHardwareCodeKeepsScanOpen) {
    Put("COM_Dev_use.txt", "7\n3\n0\n8\n2\n6702");
    EXPECT_EQ(scan::fn_Distribute(ctx), 0);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_FALSE(fe.QuitRequested());
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "");
    EXPECT_EQ(fe.Popups()[0].text, "Device HW model unknown");
}

TEST_F(Distribute, MissingConfiguratorGivesItsLaunchPopup) {
    struct Case {
        const char* file;
        const char* program;
        const char* text;
    };
    const Case cases[] = {{"3\n3\n0\n8\n2\n6802", "Tarnel.exe", "Launch Tarnel NG"},
                          {"3\n3\n0\n8\n2\n6b02", "Ombrel.exe", "Launch Ombrel NG"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        launcher.missing = {c.program};
        fe.ClearPopups();
        Put("COM_Dev_use.txt", c.file);
        EXPECT_EQ(scan::fn_Distribute(ctx), 0);
        EXPECT_EQ(ctx.gr, sys::kLaunchNotFound);
        ASSERT_EQ(fe.Popups().size(), 1u);
        EXPECT_EQ(fe.Popups()[0].title, "M1__Scan_Dev");
        EXPECT_EQ(fe.Popups()[0].text, c.text);
    }
}

TEST_F(Distribute, MissingSettingsFileIsReportedAndNothingStarts) {
    std::filesystem::remove("COM_Dev_use.txt");
    EXPECT_EQ(scan::fn_Distribute(ctx), -1);
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_FALSE(fe.QuitRequested());
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "M1__Scan_Dev :: 591475");
    EXPECT_EQ(fe.Popups()[0].text, "open file NG :: COM_Dev_use.txt");
}

}  // namespace
}  // namespace scantest
