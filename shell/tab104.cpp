#include "shell/tab104.h"

namespace conf {

int mf_104_TAB104__init(Context& ctx, int* panel, int* control) {
    *panel = ctx.gvG104;
    *control = ctx.ui.FindCtrl(ctx.gvG104, "TAB");
    return 0;
}

int mf_104_TAB104__Get_Page_Handle(Context& ctx) {
    int panel = 0, tab = 0;
    mf_104_TAB104__init(ctx, &panel, &tab);
    ctx.ui.GetPanelHandleFromTabPage(panel, tab, 0, &ctx.gvCFG);
    ctx.ui.GetPanelHandleFromTabPage(panel, tab, 1, &ctx.gvCAL);
    ctx.ui.SetActiveTabPage(panel, tab, 0);
    return 0;
}

int mf_104_TAB104__get_index(Context& ctx) {
    int panel = 0, tab = 0, index = 0;
    mf_104_TAB104__init(ctx, &panel, &tab);
    ctx.ui.GetActiveTabPage(panel, tab, &index);
    return index;
}

int mf_104_TAB104__SA_i32(Context& ctx, int attribute, int value) {
    int panel = 0, tab = 0;
    mf_104_TAB104__init(ctx, &panel, &tab);
    ctx.ui.SetCtrlAttribute(panel, tab, attribute, value);
    return 0;
}

int mf_104_TAB104__Toggle_CFG_CAL(Context& ctx) {
    int panel = 0, tab = 0;
    mf_104_TAB104__init(ctx, &panel, &tab);
    ctx.ui.SetActiveTabPage(panel, tab, mf_104_TAB104__get_index(ctx) == 0 ? 1 : 0);
    return 0;
}

int evTAB104(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
