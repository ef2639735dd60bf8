#include "scan/lang_table.h"

namespace scan {

namespace {

struct LangText {
    int id;
    const char* texts[3];  // English (ASCII), Traditional Chinese (Big5), Simplified (GB2312)
};

// The texts are kept as the bytes the panel shows under its character set; each entry's
// comment gives the Chinese texts as characters. "__" marks a menu or button access key.
const LangText kTexts[] = {
    // (empty) / (empty)
    {0, {"", "", ""}},
    // 開始 / 开始
    {154, {"Start", "\xB6}\xA9l", "\xBF\xAA\xCA\xBC"}},
    // 請按自動掃描 / 请按自动扫描
    {730,
     {"Press button Auto Scan", "\xBD\xD0\xAB\xF6\xA6\xDB\xB0\xCA\xB1\xBD\xB4y",
      "\xC7\xEB\xB0\xB4\xD7\xD4\xB6\xAF\xC9\xA8\xC3\xE8"}},
    // 掃描中 / 扫描中
    {731, {"Scanning", "\xB1\xBD\xB4y\xA4\xA4", "\xC9\xA8\xC3\xE8\xD6\xD0"}},
    // 已找到裝置 / 已找到装置
    {732,
     {"Device was found", "\xA4w\xA7\xE4\xA8\xEC\xB8\xCB\xB8m",
      "\xD2\xD1\xD5\xD2\xB5\xBD\xD7\xB0\xD6\xC3"}},
    // 找不到裝置 / 找不到装置
    {733,
     {"Device not found", "\xA7\xE4\xA4\xA3\xA8\xEC\xB8\xCB\xB8m",
      "\xD5\xD2\xB2\xBB\xB5\xBD\xD7\xB0\xD6\xC3"}},
    // 掃描已停止 / 扫描已停止
    {734,
     {"Scan Stoped", "\xB1\xBD\xB4y\xA4w\xB0\xB1\xA4\xEE",
      "\xC9\xA8\xC3\xE8\xD2\xD1\xCD\xA3\xD6\xB9"}},
    // 掃描裝置 / 扫描装置
    {5008, {"Scan Device", "\xB1\xBD\xB4y\xB8\xCB\xB8m", "\xC9\xA8\xC3\xE8\xD7\xB0\xD6\xC3"}},
    // 現在使用 / 现在使用
    {5010,
     {"Current Using",
      "\xB2{\xA6"
      "b\xA8\xCF\xA5\xCE",
      "\xCF\xD6\xD4\xDA\xCA\xB9\xD3\xC3"}},
    // 並列埠 / 串口
    {5011,
     {"COM",
      "\xA8\xC3\xA6"
      "C\xB0\xF0",
      "\xB4\xAE\xBF\xDA"}},
    // 鮑率 / 鲍率
    {5012, {"Baud", "\xC0j\xB2v", "\xB1\xAB\xC2\xCA"}},
    // 同位元 / 同位元
    {5013, {"Parity", "\xA6P\xA6\xEC\xA4\xB8", "\xCD\xAC\xCE\xBB\xD4\xAA"}},
    // 資料位元 / 资料位元
    {5014, {"Data Bits", "\xB8\xEA\xAE\xC6\xA6\xEC\xA4\xB8", "\xD7\xCA\xC1\xCF\xCE\xBB\xD4\xAA"}},
    // 停止位元 / 停止位元
    {5015, {"Stop Bits", "\xB0\xB1\xA4\xEE\xA6\xEC\xA4\xB8", "\xCD\xA3\xD6\xB9\xCE\xBB\xD4\xAA"}},
    // 搜尋現有並列埠 / 搜寻现有串口
    {5022,
     {"Search Available COM Port",
      "\xB7j\xB4M\xB2{\xA6\xB3\xA8\xC3\xA6"
      "C\xB0\xF0",
      "\xCB\xD1\xD1\xB0\xCF\xD6\xD3\xD0\xB4\xAE\xBF\xDA"}},
    // 檔案(__F) / 文件(__F)
    {50100, {"__File", "\xC0\xC9\xAE\xD7(__F)", "\xCE\xC4\xBC\xFE(__F)"}},
    // 離開(__X) / 离开(__X)
    {50101, {"E__xit", "\xC2\xF7\xB6}(__X)", "\xC0\xEB\xBF\xAA(__X)"}},
    // 語言(__L) / 语言(__L)
    {50200, {"__Language", "\xBBy\xA8\xA5(__L)", "\xD3\xEF\xD1\xD4(__L)"}},
    // 英文(__E) / 英文(__E)
    {50201, {"__English", "\xAD^\xA4\xE5(__E)", "\xD3\xA2\xCE\xC4(__E)"}},
    // 繁體中文(__T) / 繁体中文(__T)
    {50202,
     {"__Traditional Chinese",
      "\xC1"
      "c\xC5\xE9\xA4\xA4\xA4\xE5(__T)",
      "\xB7\xB1\xCC\xE5\xD6\xD0\xCE\xC4(__T)"}},
    // 簡體中文(__S) / 简体中文(__S)
    {50203,
     {"__Simplified Chinese", "\xC2\xB2\xC5\xE9\xA4\xA4\xA4\xE5(__S)",
      "\xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4(__S)"}},
    // 自動掃描(__S) / 扫描自动(__S)
    {50300,
     {"__Auto Scan", "\xA6\xDB\xB0\xCA\xB1\xBD\xB4y(__S)",
      "\xC9\xA8\xC3\xE8\xD7\xD4\xB6\xAF(__S)"}},
    // 開始掃描(__S) / 开始扫描(__S)
    {50301,
     {"__Start Scan", "\xB6}\xA9l\xB1\xBD\xB4y(__S)", "\xBF\xAA\xCA\xBC\xC9\xA8\xC3\xE8(__S)"}},
    // 說明(__H) / 帮助(__H)
    {50400, {"__Help", "\xBB\xA1\xA9\xFA(__H)", "\xB0\xEF\xD6\xFA(__H)"}},
    // 軟體說明(__C) / 软件说明(__C)
    {50401,
     {"__Content", "\xB3n\xC5\xE9\xBB\xA1\xA9\xFA(__C)", "\xC8\xED\xBC\xFE\xCB\xB5\xC3\xF7(__C)"}},
};

}  // namespace

int LangS::DataBase(int id, int language, std::string* destination) {
    if (language < 0 || language > 2) return 0;
    for (const LangText& text : kTexts) {
        if (text.id == id) {
            *destination = text.texts[language];
            return 0;
        }
    }
    return 0;
}

std::vector<int> ScanTextIds() {
    std::vector<int> ids;
    for (const LangText& text : kTexts)
        ids.push_back(text.id);
    return ids;
}

}  // namespace scan
