#include "shell/g104.h"

#include <cstdio>

#include "link/uart.h"
#include "log/event_log.h"
#include "log/log_launch.h"
#include "params/rules104.h"
#include "shell/group_callbacks.h"
#include "shell/tab104.h"
#include "transfer/read_all.h"
#include "transfer/serial_write.h"

namespace conf {

int mf_104_About_menu__init(Context& ctx, int* menuBar, int* item) {
    *menuBar = ctx.ui.GetPanelMenuBar(ctx.gvG104);
    *item = ctx.ui.FindMenuItem(*menuBar, "ABOUT");
    return 0;
}

int mf_104_About_menu__SV(Context& ctx, const std::string& text) {
    int menuBar = 0, item = 0;
    mf_104_About_menu__init(ctx, &menuBar, &item);
    ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_ITEM_NAME, text);
    return 0;
}

int mf_G104__init(Context& ctx) {
    mf_104_Log__init(ctx);
    int panel = ctx.ui.LoadPanel(0, kPanelFile104, "G104");
    if (panel < 0) {
        // Nothing can be shown without the panel: say why where a technician will look.
        ctx.gpLog.Printf("Load panel NG :: %s\n\n", ctx.ui.LastError().c_str());
        ctx.gpLog.Flush();
        std::fprintf(stderr, "%s\n", ctx.ui.LastError().c_str());
        return panel;
    }
    ctx.gvG104 = panel;
    ctx.msgCtrl = ctx.ui.FindCtrl(panel, "MSG");
    mf_104_TAB104__Get_Page_Handle(ctx);
    // A link that does not come up is reported and start-up goes on: the panel still shows.
    mf_104_UART__init(ctx);
    mf_104_TYPE_cfg__CALLBACK(ctx);
    mf_104_LinSig_cfg__CALLBACK(ctx);
    mf_104_IC_B__CALLBACK(ctx);
    mf_104_ICSP__CALLBACK(ctx);
    mf_104_SN_V_I__Today_init(ctx);
    mf_104_About_menu__SV(ctx, kVersion104);
    ctx.ui.DisplayPanel(ctx.gvG104);
    // The pages show what the instrument holds; a failed read leaves the resource defaults
    // and says so on the status line, and the program still comes up.
    mf_104_Para_Fr_Dev__onClick(ctx);
    fn_Affect_by_DIGIT_0(ctx);
    return 0;
}

int mf_G104__exit(Context& ctx) {
    ctx.ui.QuitUserInterface(1);
    ctx.ui.DiscardPanel(ctx.gvG104);
    return 0;
}

int Run104(Context& ctx) {
    if (mf_G104__init(ctx) < 0) return 1;
    ctx.ui.RunUserInterface();
    return ctx.exitCode.value_or(0);
}

int evG104(Context& ctx, int, int event, void*, int data1, int) {
    if (event == ui::EVENT_CLOSE) {
        mf_G104__exit(ctx);
    } else if (event == ui::EVENT_KEYPRESS) {
        if (data1 == '`') {
            mf_G104__exit(ctx);
        } else if (data1 == ui::VAL_ESC_VKEY) {
            mf_104_Log__Launch(ctx);
        } else if (data1 == ui::VAL_F2_VKEY) {
            mf_104_TAB104__Toggle_CFG_CAL(ctx);
        }
    }
    return 0;
}

int evExit(Context& ctx, int, int, void*, int) {
    return mf_G104__exit(ctx);
}

// The version is the item's own caption; choosing it does nothing.
int evAbout(Context&, int, int, void*, int) {
    return 0;
}

int evForm104(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace conf
