#include "scan/language.h"

#include <cstdio>
#include <sstream>

#include "platform/sys/small_file.h"

#include "scan/lang_table.h"
#include "scan/scan_log.h"

namespace scan {

namespace {

const char* const kLanguageItems[3] = {"ENGLISH", "TRADITIONAL", "SIMPLIFIED"};
// One number with any white space a person puts around it.
constexpr std::size_t kLanguageFileBytes = 64;

std::string Text(ScanContext& ctx, int id) {
    std::string text;
    LangS::DataBase(id, ctx.gvLANG, &text);
    return text;
}

void LabelMenu(ScanContext& ctx, int menuBar, const char* name, int id) {
    ctx.ui.SetMenuBarAttribute(menuBar, ctx.ui.FindMenuItem(menuBar, name), ui::ATTR_ITEM_NAME,
                               Text(ctx, id));
}

int ColourOf(int id) {
    switch (id) {
        case kStatusScanning:
            return ui::VAL_BLUE;
        case kStatusFound:
            return ui::VAL_DK_GREEN;
        case kStatusNotFound:
            return ui::VAL_RED;
        default:
            return ui::VAL_BLACK;
    }
}

}  // namespace

int LangS::HHCC(ScanContext& ctx, int* menuBar, int items[3]) {
    *menuBar = ctx.ui.GetPanelMenuBar(ctx.gvG1);
    for (int i = 0; i < 3; ++i)
        items[i] = ctx.ui.FindMenuItem(*menuBar, kLanguageItems[i]);
    return 0;
}

int LangS::SV(ScanContext& ctx, int index) {
    if (index < 0 || index > 2) index = 0;
    int menuBar = 0, items[3] = {};
    LangS::HHCC(ctx, &menuBar, items);
    for (int i = 0; i < 3; ++i)
        ctx.ui.SetMenuBarAttribute(menuBar, items[i], ui::ATTR_CHECKED, i == index ? 1 : 0);
    ctx.gvLANG = index;
    return 0;
}

int LangS::GV(ScanContext& ctx) {
    return ctx.gvLANG;
}

int LangS::Click(ScanContext& ctx, int item) {
    int menuBar = 0, items[3] = {};
    LangS::HHCC(ctx, &menuBar, items);
    for (int i = 0; i < 3; ++i)
        if (items[i] == item) return LangS::SV(ctx, i);
    return 0;
}

int LangS::WF(ScanContext& ctx) {
    // Never waits: a FIFO at the name is a file that cannot be written.
    return sys::WriteWholeFile(kLanguageFileName, std::to_string(ctx.gvLANG)) < 0 ? -1 : 0;
}

int LangS::RF(ScanContext& ctx) {
    std::string head;
    const int r = sys::ReadFileHead(kLanguageFileName, kLanguageFileBytes, &head);
    if (r == sys::kFileMissing) {
        // First run: English, and the file is there for the next one.
        ctx.gvLANG = 0;
        LangS::WF(ctx);
        return LangS::SV(ctx, 0);
    }
    // Anything but a regular file (a folder, a FIFO) is left alone and means English, as an
    // empty or unreadable file does.
    std::istringstream in(head);
    int index = 0;
    if (r < 0 || !(in >> index)) index = 0;
    return LangS::SV(ctx, index);
}

int LangS::Char_Set(ScanContext& ctx) {
    static const int kCharsets[3] = {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET,
                                     ui::VAL_GB2312_CHARSET};
    const int language = ctx.gvLANG >= 0 && ctx.gvLANG <= 2 ? ctx.gvLANG : 0;
    ctx.ui.SetPanelAttribute(ctx.gvG1, ui::ATTR_CHARSET, kCharsets[language]);
    return 0;
}

int LangS::Refresh(ScanContext& ctx) {
    fn_1_Status_Msg(ctx, StatusID::GV(ctx));

    const int menuBar = ctx.ui.GetPanelMenuBar(ctx.gvG1);
    LabelMenu(ctx, menuBar, "FILE", 50100);
    LabelMenu(ctx, menuBar, "LANGUAGE", 50200);
    LabelMenu(ctx, menuBar, "HELP", 50400);
    LabelMenu(ctx, menuBar, "EXIT", 50101);
    LabelMenu(ctx, menuBar, "ENGLISH", 50201);
    LabelMenu(ctx, menuBar, "TRADITIONAL", 50202);
    LabelMenu(ctx, menuBar, "SIMPLIFIED", 50203);
    LabelMenu(ctx, menuBar, "CONTENT", 50401);

    const int page = ctx.gvtpScan;
    ctx.ui.SetCtrlVal(page, ctx.ui.FindCtrl(page, "TITLE"), Text(ctx, 5008));
    ctx.ui.SetCtrlAttribute(page, ctx.ui.FindCtrl(page, "SEARCH"), ui::ATTR_LABEL_TEXT,
                            Text(ctx, 5022));
    ctx.ui.SetCtrlAttribute(page, ctx.ui.FindCtrl(page, "AUTO_SCAN"), ui::ATTR_LABEL_TEXT,
                            Text(ctx, 50300));
    const int table = ctx.ui.FindCtrl(page, "COM_PARA");
    ctx.ui.SetTableColumnAttribute(page, table, 1, ui::ATTR_LABEL_TEXT, Text(ctx, 5010));
    for (int row = 1; row <= 5; ++row)
        ctx.ui.SetTableRowAttribute(page, table, row, ui::ATTR_LABEL_TEXT, Text(ctx, 5010 + row));
    return 0;
}

int StatusID::init(ScanContext& ctx, int* panel, int* control) {
    *panel = ctx.gvtpScan;
    *control = ctx.ui.FindCtrl(ctx.gvtpScan, "STATUS_ID");
    return 0;
}

int StatusID::SV(ScanContext& ctx, int id) {
    int panel = 0, control = 0;
    StatusID::init(ctx, &panel, &control);
    return ctx.ui.SetCtrlVal(panel, control, id);
}

int StatusID::GV(ScanContext& ctx) {
    int panel = 0, control = 0, id = 0;
    StatusID::init(ctx, &panel, &control);
    ctx.ui.GetCtrlVal(panel, control, &id);
    return id;
}

int fn_1_Status_Msg(ScanContext& ctx, int id) {
    StatusID::SV(ctx, id);
    const int page = ctx.gvtpScan;
    const int status = ctx.ui.FindCtrl(page, "STATUS");
    ctx.ui.SetCtrlAttribute(page, status, ui::ATTR_TEXT_COLOR, ColourOf(id));
    std::string text;  // stays empty for an id outside the table
    LangS::DataBase(id, ctx.gvLANG, &text);
    ctx.ui.SetCtrlVal(page, status, text);
    return 0;
}

}  // namespace scan
