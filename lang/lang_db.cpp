#include "lang/lang_db.h"

#include <iterator>

#include "platform/sys/codepage.h"

namespace conf {

namespace {

// Texts are kept as UTF-8 here and converted to the panel's code page on each lookup.
// In menu texts "__" marks the access key.
struct LangText {
    int id;
    const char* english;
    const char* traditional;
    const char* simplified;
};

const LangText kTexts[] = {
    {101, "Configuration", "組態", "组态"},
    {103, "Calibration", "校正", "校正"},
    {111, "__Read From Device", "讀出(__R)", "读出(__R)"},
    {112, "__Write To Device", "寫入(__W)", "写入(__W)"},
    {115, "Unit", "單位", "单位"},
    {121, "Input", "輸入", "输入"},
    {122, "Output", "輸出", "输出"},
    {123, "Input Calibration", "輸入校正", "输入校正"},
    {124, "Output Calibration", "輸出校正", "输出校正"},
    {151, "Measurement", "量測", "量测"},
    {152, "Type", "型態", "型态"},
    {154, "Start", "開始", "开始"},
    {201, "Item", "項目", "项目"},
    {301, "Device Information", "裝置資訊", "装置资讯"},
    {302, "Product", "產品", "产品"},
    {303, "HW Model", "硬體型號", "硬体型号"},
    {304, "FW Version", "韌體版本", "韧体版本"},
    {305, "Serial No.", "序號", "序号"},
    {306, "Parameter Out of Range", "參數超出範圍", "参数超出范围"},
    {701, "Reading", "讀取中", "读取中"},
    {702, "Read OK", "讀取成功", "读取成功"},
    {703, "Read NG", "讀取失敗", "读取失败"},
    {704, "Writing", "寫入中", "写入中"},
    {705, "Write OK", "寫入成功", "写入成功"},
    {706, "Write NG", "寫入失敗", "写入失败"},
    {707, "Out of Range", "超出範圍", "超出范围"},
    {2201, "Communication", "通訊", "通讯"},
    {2202, "ID", "位址", "位址"},
    {2203, "Baud Rate", "鮑率", "鲍率"},
    {2302, "Offset Correction", "偏差修正", "偏差修正"},
    {2303, "Measuring Value", "量測值", "量测值"},
    {2503, "Fault Signal on Sensor Break", "開路限制", "开路限制"},
    {2504, "Output Direction", "輸出方向", "输出方向"},
    {50100, "__File", "檔案(__F)", "文件(__F)"},
    {50101, "E__xit", "離開(__X)", "离开(__X)"},
    {50102, "__debug", "除錯(__D)", "除错(__D)"},
    {50103, "__Open log", "開啟記錄(__O)", "开启纪录(__O)"},
    {50104, "__Clear log", "清除記錄(__C)", "清除纪录(__C)"},
    {50105, "__log", "記錄(__L)", "纪录(__L)"},
    {50200, "__Language", "語言(__L)", "语言(__L)"},
    {50201, "__English", "英文(__E)", "英文(__E)"},
    {50202, "__Traditional Chinese", "繁體中文(__T)", "繁体中文(__T)"},
    {50203, "__Simplified Chinese", "簡體中文(__S)", "简体中文(__S)"},
    {50300, "__Scan", "掃描(__S)", "扫描(__S)"},
    {50301, "__Start Scan", "開始掃描(__S)", "开始扫描(__S)"},
    {50400, "__Help", "說明(__H)", "帮助(__H)"},
    {50401, "__Content", "軟體說明(__C)", "软件说明(__C)"},
    {68001, "Decimal Point", "小數點", "小数点"},
    {68002, "Filter", "濾波", "滤波"},
    {68003, "Measuring Range", "量測範圍", "量测范围"},
    {68004, "Lower Limit", "下限", "下限"},
    {68005, "Upper Limit", "上限", "上限"},
    {68006, "Maximum Measuring Range", "最大量測範圍", "最大量测范围"},
    {68007, "0/4~20mA Output Calibration", "0/4~20mA 輸出校正", "0/4~20mA 输出校正"},
    {68008, "Alarm 1", "警報 1", "警报 1"},
    {68009, "Alarm 2", "警報 2", "警报 2"},
    {68010, "Function", "功能", "功能"},
    {68011, "Set Point", "設定點", "设定点"},
    {68012, "Hysterisis", "不感帶", "不感带"},
    {68013, "Display Digit", "顯示位數", "显示位数"},
    {68014, "Alarm Amount", "警報數量", "警报数量"},
    {68015, "Mode", "模式", "模式"},
    {68016, "Set", "設定", "设定"},
    {68017, "Linear", "線性", "线性"},
    {68018, "Cut", "開路限制", "开路限制"},
};

const LangText* FindText(int id) {
    for (const LangText& t : kTexts)
        if (t.id == id) return &t;
    return nullptr;
}

}  // namespace

int LangS::DataBase(Context& ctx, int id, int language, std::string* destination) {
    const LangText* text = FindText(id);
    if (text == nullptr) {
        ctx.ui.MessagePopup("", "Lang SID not fount");
        return 0;
    }
    // A failed conversion leaves the destination as it was, like an unknown language.
    switch (language) {
        case kLangEnglish:
            *destination = text->english;
            break;
        case kLangTraditional:
            sys::FromUtf8(text->traditional, sys::CodePage::Big5, destination);
            break;
        case kLangSimplified:
            sys::FromUtf8(text->simplified, sys::CodePage::Gb2312, destination);
            break;
        default:
            break;
    }
    return 0;
}

std::vector<int> LangTextIds() {
    std::vector<int> ids;
    ids.reserve(std::size(kTexts));
    for (const LangText& t : kTexts)
        ids.push_back(t.id);
    return ids;
}

}  // namespace conf
