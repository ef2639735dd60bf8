#include "lang/status_line.h"

#include "lang/lang_db.h"
#include "platform/ui/constants.h"

namespace conf {

namespace {

struct StatusMessage {
    int message;
    int textId;  // in the string database
    int rgb;
};

const StatusMessage kMessages[] = {
    {kMsgReading, 701, kMsgBlue},   {kMsgReadOk, 702, kMsgGreen},  {kMsgReadNg, 703, kMsgRed},
    {kMsgWriting, 704, kMsgBlue},   {kMsgWriteOk, 705, kMsgGreen}, {kMsgWriteNg, 706, kMsgRed},
    {kMsgOutOfRange, 707, kMsgRed},
};

}  // namespace

int msg_cfg::init(Context& ctx, int* panel, int* control) {
    if (panel != nullptr) *panel = ctx.gvMain;
    if (control != nullptr) *control = ctx.msgCtrl;
    return 0;
}

int msg_cfg::SV(Context& ctx, const std::string& text) {
    int rc = ctx.ui.SetCtrlVal(ctx.gvMain, ctx.msgCtrl, text);
    return rc < 0 ? rc : 0;
}

int msg_cfg::SV_i32(Context& ctx, int number) {
    return msg_cfg::SV(ctx, std::to_string(number));
}

int msg_cfg::Color(Context& ctx, int rgb) {
    int rc = ctx.ui.SetCtrlAttribute(ctx.gvMain, ctx.msgCtrl, ui::ATTR_TEXT_COLOR, rgb);
    return rc < 0 ? rc : 0;
}

int msg_cfg::SCV(Context& ctx, int rgb, const std::string& text) {
    int rc = msg_cfg::SV(ctx, text);
    if (rc < 0) return rc;
    return msg_cfg::Color(ctx, rgb);
}

int msg_cfg::SID(Context& ctx, int message) {
    for (const StatusMessage& m : kMessages) {
        if (m.message != message) continue;
        int rc = msg_cfg::Color(ctx, m.rgb);
        if (rc < 0) return rc;
        std::string text;
        LangS::DataBase(ctx, m.textId, kLangEnglish, &text);
        return msg_cfg::SV(ctx, text);
    }
    return -1;
}

}  // namespace conf
