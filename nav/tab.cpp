#include "nav/tab.h"

namespace conf {

int TAB::init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvMain;
    *control = ctx.ui.FindCtrl(ctx.gvMain, "TAB");
    return 0;
}

int TAB::Get_Page_Handle(Context& ctx) {
    int panel = 0, tab = 0;
    TAB::init(ctx, &panel, &tab);
    ctx.ui.GetPanelHandleFromTabPage(panel, tab, 0, &ctx.gvCFG);
    ctx.ui.GetPanelHandleFromTabPage(panel, tab, 1, &ctx.gvCAL);
    ctx.ui.SetActiveTabPage(panel, tab, 0);
    return 0;
}

int TAB::get_index(Context& ctx) {
    int panel = 0, tab = 0, index = 0;
    TAB::init(ctx, &panel, &tab);
    ctx.ui.GetActiveTabPage(panel, tab, &index);
    return index;
}

int TAB::SA_i32(Context& ctx, int attribute, int value) {
    int panel = 0, tab = 0;
    TAB::init(ctx, &panel, &tab);
    ctx.ui.SetCtrlAttribute(panel, tab, attribute, value);
    return 0;
}

int TAB::Toggle_CFG_CAL(Context& ctx) {
    int panel = 0, tab = 0;
    TAB::init(ctx, &panel, &tab);
    ctx.ui.SetActiveTabPage(panel, tab, TAB::get_index(ctx) == 0 ? 1 : 0);
    return 0;
}

int evTAB(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
