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

int mf_104_msg_cfg__init(Context& ctx, int* panel, int* control) {
    if (panel != nullptr) *panel = ctx.gvG104;
    if (control != nullptr) *control = ctx.msgCtrl;
    return 0;
}

int mf_104_msg_cfg__SV(Context& ctx, const std::string& text) {
    int rc = ctx.ui.SetCtrlVal(ctx.gvG104, ctx.msgCtrl, text);
    return rc < 0 ? rc : 0;
}

int mf_104_msg_cfg__SV_i32(Context& ctx, int number) {
    return mf_104_msg_cfg__SV(ctx, std::to_string(number));
}

int mf_104_msg_cfg__Color(Context& ctx, int rgb) {
    int rc = ctx.ui.SetCtrlAttribute(ctx.gvG104, ctx.msgCtrl, ui::ATTR_TEXT_COLOR, rgb);
    return rc < 0 ? rc : 0;
}

int mf_104_msg_cfg__SCV(Context& ctx, int rgb, const std::string& text) {
    int rc = mf_104_msg_cfg__SV(ctx, text);
    if (rc < 0) return rc;
    return mf_104_msg_cfg__Color(ctx, rgb);
}

int mf_104_msg_cfg__SID(Context& ctx, int message) {
    for (const StatusMessage& m : kMessages) {
        if (m.message != message) continue;
        int rc = mf_104_msg_cfg__Color(ctx, m.rgb);
        if (rc < 0) return rc;
        std::string text;
        mf_104_LangS__DataBase(ctx, m.textId, kLangEnglish, &text);
        return mf_104_msg_cfg__SV(ctx, text);
    }
    return -1;
}

}  // namespace conf
