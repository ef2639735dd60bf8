// Scan's language table against the system's own conversion (iconv): the bytes it holds are
// exactly the Big5 and GB2312 encodings of the texts.

#include "scan/lang_table.h"

#include <gtest/gtest.h>

#include "platform/sys/codepage.h"

namespace {

struct Row {
    int id;
    const char* english;
    const char* traditional;  // UTF-8
    const char* simplified;   // UTF-8
};

const Row kRows[] = {
    {0, "", "", ""},
    {154, "Start", "開始", "开始"},
    {730, "Press button Auto Scan", "請按自動掃描", "请按自动扫描"},
    {731, "Scanning", "掃描中", "扫描中"},
    {732, "Device was found", "已找到裝置", "已找到装置"},
    {733, "Device not found", "找不到裝置", "找不到装置"},
    {734, "Scan Stoped", "掃描已停止", "扫描已停止"},
    {5008, "Scan Device", "掃描裝置", "扫描装置"},
    {5010, "Current Using", "現在使用", "现在使用"},
    {5011, "COM", "並列埠", "串口"},
    {5012, "Baud", "鮑率", "鲍率"},
    {5013, "Parity", "同位元", "同位元"},
    {5014, "Data Bits", "資料位元", "资料位元"},
    {5015, "Stop Bits", "停止位元", "停止位元"},
    {5022, "Search Available COM Port", "搜尋現有並列埠", "搜寻现有串口"},
    {50100, "__File", "檔案(__F)", "文件(__F)"},
    {50101, "E__xit", "離開(__X)", "离开(__X)"},
    {50200, "__Language", "語言(__L)", "语言(__L)"},
    {50201, "__English", "英文(__E)", "英文(__E)"},
    {50202, "__Traditional Chinese", "繁體中文(__T)", "繁体中文(__T)"},
    {50203, "__Simplified Chinese", "簡體中文(__S)", "简体中文(__S)"},
    {50300, "__Auto Scan", "自動掃描(__S)", "扫描自动(__S)"},
    {50301, "__Start Scan", "開始掃描(__S)", "开始扫描(__S)"},
    {50400, "__Help", "說明(__H)", "帮助(__H)"},
    {50401, "__Content", "軟體說明(__C)", "软件说明(__C)"},
};

TEST(ScanLangTable, HoldsBig5AndGb2312BytesOfEveryText) {
    std::vector<int> ids;
    for (const Row& row : kRows) {
        ids.push_back(row.id);
        std::string big5, gb;
        ASSERT_EQ(sys::FromUtf8(row.traditional, sys::CodePage::Big5, &big5), 0) << row.id;
        ASSERT_EQ(sys::FromUtf8(row.simplified, sys::CodePage::Gb2312, &gb), 0) << row.id;
        std::string text[3] = {"unset", "unset", "unset"};
        for (int language = 0; language < 3; ++language)
            EXPECT_EQ(scan::LangS::DataBase(row.id, language, &text[language]), 0);
        EXPECT_EQ(text[0], row.english) << row.id;
        EXPECT_EQ(text[1], big5) << row.id;
        EXPECT_EQ(text[2], gb) << row.id;
    }
    EXPECT_EQ(scan::ScanTextIds(), ids);
}

TEST(ScanLangTable, UnknownIdOrLanguageLeavesTheBufferAlone) {
    std::string text = "kept";
    EXPECT_EQ(scan::LangS::DataBase(735, 0, &text), 0);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(scan::LangS::DataBase(731, 3, &text), 0);
    EXPECT_EQ(scan::LangS::DataBase(731, -1, &text), 0);
    EXPECT_EQ(text, "kept");
    // Id 0 is the empty message that clears the line.
    EXPECT_EQ(scan::LangS::DataBase(0, 1, &text), 0);
    EXPECT_EQ(text, "");
}

}  // namespace
