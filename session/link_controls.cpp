#include "session/link_controls.h"

namespace conf {

namespace {

int Ctrl(Context& ctx, const char* name) {
    return ctx.ui.FindCtrl(ctx.gvMain, name);
}

int GetIndex(Context& ctx, const char* name) {
    int index = 0;
    ctx.ui.GetCtrlIndex(ctx.gvMain, Ctrl(ctx, name), &index);
    return index;
}

}  // namespace

int ID_comm::init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvMain;
    *control = Ctrl(ctx, "ID_COMM");
    return 0;
}

int ID_comm::SV(Context& ctx, int value) {
    ctx.ui.SetCtrlVal(ctx.gvMain, Ctrl(ctx, "ID_COMM"), value);
    return 0;
}

int ID_comm::GV(Context& ctx) {
    int value = 0;
    ctx.ui.GetCtrlVal(ctx.gvMain, Ctrl(ctx, "ID_COMM"), &value);
    return value;
}

int ID_comm::Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvMain, Ctrl(ctx, "ID_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

int BR_comm::init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvMain;
    *control = Ctrl(ctx, "BR_COMM");
    return 0;
}

int BR_comm::SI(Context& ctx, int index) {
    ctx.ui.SetCtrlIndex(ctx.gvMain, Ctrl(ctx, "BR_COMM"), index);
    return 0;
}

int BR_comm::GI(Context& ctx) {
    return GetIndex(ctx, "BR_COMM");
}

int BR_comm::Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvMain, Ctrl(ctx, "BR_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

int RTU_comm::init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvMain;
    *control = Ctrl(ctx, "RTU_COMM");
    return 0;
}

int RTU_comm::SI(Context& ctx, int index) {
    ctx.ui.SetCtrlIndex(ctx.gvMain, Ctrl(ctx, "RTU_COMM"), index);
    return 0;
}

int RTU_comm::GI(Context& ctx) {
    return GetIndex(ctx, "RTU_COMM");
}

int RTU_comm::Toggle_Visible(Context& ctx, int visible) {
    ctx.ui.SetCtrlAttribute(ctx.gvMain, Ctrl(ctx, "RTU_COMM"), ui::ATTR_VISIBLE, visible);
    return 0;
}

}  // namespace conf
