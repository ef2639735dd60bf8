// The hand-over: both settings files byte for byte, the configurator chosen from the file's
// model code, and what happens when a file or a configurator is missing.

#include "scan/distribute.h"

#include "popups.h"
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

// A hand-over that starts nothing says why in one popup.
TEST_F(Distribute, HandOverThatStartsNothingSaysWhy) {
    const struct {
        const char* file;     // nullptr: no settings file
        const char* missing;  // a configurator not installed
        int result;
        const char* title;
        const char* text;
    } cases[] = {{"7\n3\n0\n8\n2\n6702", "", 0, "", "Device HW model unknown"},
                 {nullptr, "", -1, "M1__Scan_Dev :: 591475", "open file NG :: COM_Dev_use.txt"},
                 // Scan has closed before the launch fails.
                 {"3\n3\n0\n8\n2\n6802", "Tarnel.exe", 0, "M1__Scan_Dev", "Launch Tarnel NG"},
                 {"3\n3\n0\n8\n2\n6b02", "Ombrel.exe", 0, "M1__Scan_Dev", "Launch Ombrel NG"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        launcher.missing = {c.missing};
        launcher.calls.clear();
        fe.ClearPopups();
        if (c.file)
            Put("COM_Dev_use.txt", c.file);
        else
            std::filesystem::remove("COM_Dev_use.txt");
        EXPECT_EQ(scan::fn_Distribute(ctx), c.result);
        if (*c.missing) {
            EXPECT_EQ(ctx.gr, sys::kLaunchNotFound);
            EXPECT_EQ(launcher.calls.size(), 1u);
        } else {
            EXPECT_TRUE(launcher.calls.empty());
            EXPECT_FALSE(fe.QuitRequested());
        }
        EXPECT_EQ(Popups(fe), (Shown{{c.title, c.text}}));
    }
}

}  // namespace
}  // namespace scantest
