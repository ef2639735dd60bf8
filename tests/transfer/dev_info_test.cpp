// The device check against the simulated instrument, its texts, and the block's file form.

#include <gtest/gtest.h>

#include "models/model_a.h"
#include "tests/support/fixtures.h"
#include "transfer/dev_info.h"
#include "transfer/serial_read.h"

namespace {

using transfertest::TransferTest;

TEST_F(TransferTest, TarnelWithFirmwareOneDimsLockAndFrameFormatAndAFailedCheckKeepsTheTexts) {
    StartWith(104, 1, 1234);
    EXPECT_EQ(conf::DevInfo2::fr_Modbus_to_GUI(ctx), 0);
    EXPECT_EQ(ctx.gr, 0);
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Tarnel");
    EXPECT_EQ(Cfg("DEVINFO_HW").text, "Tarnel");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V01");
    EXPECT_EQ(Cfg("DEVINFO_SN").text, "0000001234");
    EXPECT_TRUE(Cfg("LOCK").dimmed);
    EXPECT_TRUE(Cfg("RTU").dimmed);
    // The check shows "Reading" and leaves the closing status to its caller.
    EXPECT_EQ(Status(), "Reading");
    // A failed check sets the unknown model and keeps the texts.
    SilenceFrom(0);
    Requests();
    EXPECT_LT(conf::DevInfo2::fr_Modbus_to_GUI(ctx), 0);
    EXPECT_LT(ctx.gr, 0);
    EXPECT_EQ(Requests().size(), 3u);  // three attempts
    EXPECT_EQ(ctx.gvHW, 255);
    EXPECT_EQ(ctx.gvFW, 1);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(StatusColour(), 0xFF0000);
    EXPECT_EQ(Cfg("DEVINFO_SN").text, "0000001234");
}

TEST_F(TransferTest, QuilletWithFirmwareTwoEnablesLockAndFrameFormat) {
    StartWith(106, 2);
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(Cfg("DEVINFO_PRODUCT").text, "Quillet (Tarnel)");
    EXPECT_EQ(Cfg("DEVINFO_FW").text, "V02");
    // The low half 0xFE01 has its top bit set: it must not spill into the high half.
    EXPECT_EQ(Cfg("DEVINFO_SN").text, "1305280001");
    EXPECT_FALSE(Cfg("LOCK").dimmed);
    EXPECT_FALSE(Cfg("RTU").dimmed);
    EXPECT_EQ(ctx.gvHW, 106);
}

TEST(DevInfoTexts, TextsAtTheirEndsAndUnpackingTakesSixteenBitsOfEachWord) {
    // Known codes are shown by the start-up tests above.
    EXPECT_EQ(conf::fn_DevInfo_Product_Text(conf::ModelA(), 5), "0x05");
    EXPECT_EQ(conf::fn_DevInfo_Firmware_Text(0xAB), "VAB");
    EXPECT_EQ(conf::fn_DevInfo_Serial_Text(4294967295u), "4294967295");
    EXPECT_EQ(conf::fn_SN_Read_Text(0), "00     00    00       0000");
    // Unpacking takes 16 bits of each word.
    conf::DevInfo r;
    // 0xFF01: code 255, firmware 1; serial 0x4DCC:0xFE01.
    conf::DevInfo2::RAM_dev_to_gui({-255, 0, 0x4DCC, -511}, &r);
    EXPECT_EQ(r.hw, 255);
    EXPECT_EQ(r.fw, 1);
    EXPECT_EQ(r.serial, 1305280001u);
}

TEST_F(TransferTest, SerialReadBackShowsTheNumberAndTheBlocksFileFormRoundTrips) {
    StartWith(104, 2, 4212319999u);
    rt.SetCtrlVal(ctx.gvCAL, Id(ctx.gvCAL, "SN_READ"), "");
    Requests();
    EXPECT_EQ(conf::SN_V_Read::fr_Modbus(ctx), 0);
    EXPECT_EQ(Requests(), std::vector<transfertest::Bytes>{transfertest::ReadRequest(0x1F02, 2)});
    EXPECT_EQ(Cal("SN_READ").text, "42     12    31       9999");
    EXPECT_EQ(Status(), "Read OK");
    SilenceFrom(0);
    EXPECT_LT(conf::SN_V_Read::fr_Modbus(ctx), 0);
    EXPECT_EQ(Status(), "Read NG");
    EXPECT_EQ(Cal("SN_READ").text, "42     12    31       9999");
    // The block's file form round-trips and refuses short files.
    const conf::DevInfoWords words{0x6802, 0, 0x4DCC, -511};
    ASSERT_EQ(conf::DevInfo2::to_FILE(ctx, "devinfo.txt", words), 0);
    EXPECT_EQ(Slurp("devinfo.txt"), "6802\n0000\n4dcc\nfe01\n");
    conf::DevInfoWords back{};
    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "devinfo.txt", &back), 0);
    EXPECT_EQ(back, words);

    std::ofstream("short.txt") << "6802\n0000\n";
    conf::DevInfoWords kept{1, 2, 3, 4};
    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "short.txt", &kept), -1);
    EXPECT_EQ(kept, (conf::DevInfoWords{1, 2, 3, 4}));

    EXPECT_EQ(conf::DevInfo2::fr_FILE(ctx, "missing.txt", &kept), -1);
    ASSERT_FALSE(fe.Popups().empty());
    EXPECT_EQ(fe.Popups().back().title, "");
    EXPECT_EQ(fe.Popups().back().text, "DevInfo 2 : Open file NG missing.txt");
    EXPECT_EQ(conf::DevInfo2::to_FILE(ctx, "no/such/dir/f.txt", words), -1);
}

}  // namespace
