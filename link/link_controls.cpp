#include "link/link_controls.h"

namespace conf {

namespace {

int Ctrl(Context& ctx, const char* name) {
    return ctx.ui.FindCtrl(ctx.gvG104, name);
}

int GetIndex(Context& ctx, const char* name) {
    int index = 0;
    ctx.ui.GetCtrlIndex(ctx.gvG104, Ctrl(ctx, name), &index);
    return index;
}

}  // namespace

int mf_104_ID_comm__init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvG104;
    *control = Ctrl(ctx, "ID_COMM");
    return 0;
}

int mf_104_ID_comm__SV(Context& ctx, int value) {
    ctx.ui.SetCtrlVal(ctx.gvG104, Ctrl(ctx, "ID_COMM"), value);
    return 0;
}

int mf_104_ID_comm__GV(Context& ctx) {
    int value = 0;
    ctx.ui.GetCtrlVal(ctx.gvG104, Ctrl(ctx, "ID_COMM"), &value);
    return value;
}

int mf_104_ID_comm__Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvG104, Ctrl(ctx, "ID_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

int mf_104_BR_comm__init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvG104;
    *control = Ctrl(ctx, "BR_COMM");
    return 0;
}

int mf_104_BR_comm__SI(Context& ctx, int index) {
    ctx.ui.SetCtrlIndex(ctx.gvG104, Ctrl(ctx, "BR_COMM"), index);
    return 0;
}

int mf_104_BR_comm__GI(Context& ctx) {
    return GetIndex(ctx, "BR_COMM");
}

int mf_104_BR_comm__Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvG104, Ctrl(ctx, "BR_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

int mf_104_RTU_comm__init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvG104;
    *control = Ctrl(ctx, "RTU_COMM");
    return 0;
}

int mf_104_RTU_comm__SI(Context& ctx, int index) {
    ctx.ui.SetCtrlIndex(ctx.gvG104, Ctrl(ctx, "RTU_COMM"), index);
    return 0;
}

int mf_104_RTU_comm__GI(Context& ctx) {
    return GetIndex(ctx, "RTU_COMM");
}

int mf_104_RTU_comm__Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvG104, Ctrl(ctx, "RTU_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

}  // namespace conf
