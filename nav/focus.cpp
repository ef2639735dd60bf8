#include "nav/focus.h"

#include <string>
#include <vector>

#include "models/model.h"
#include "nav/tab.h"

namespace conf {

namespace {

std::vector<int> Resolve(Context& ctx, int panel, const std::vector<std::string>& names) {
    std::vector<int> ids;
    ids.reserve(names.size());
    for (const auto& name : names)
        ids.push_back(ctx.ui.FindCtrl(panel, name));
    return ids;
}

}  // namespace

int fn_Tab_Next_Ctrl_Engine(Context& ctx, std::span<const int> order, int panel, int control,
                            int wrapPanel, int wrapControl) {
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != control) continue;
        for (size_t next = i + 1;; ++next) {
            if (next == order.size()) {
                ctx.ui.SetActivePanel(wrapPanel);
                ctx.gr = ctx.ui.SetActiveCtrl(wrapPanel, wrapControl);
                return 0;
            }
            ctx.gr = ctx.ui.SetActiveCtrl(panel, order[next]);
            if (ctx.gr >= 0) return 0;
        }
    }
    return 0;
}

int fn_Tab_Next_Ctrl(Context& ctx, int panel, int control) {
    const FocusOrders& orders = ctx.model.focus;
    const int read = ctx.ui.FindCtrl(ctx.gvMain, orders.pageWrap);
    if (panel == ctx.gvCFG) {
        fn_Tab_Next_Ctrl_Engine(ctx, Resolve(ctx, ctx.gvCFG, orders.cfg), panel, control,
                                ctx.gvMain, read);
    }
    if (panel == ctx.gvMain) {
        bool onCfg = TAB::get_index(ctx) == 0;
        int wrapPanel = onCfg ? ctx.gvCFG : ctx.gvCAL;
        int wrap = ctx.ui.FindCtrl(wrapPanel, onCfg ? orders.mainWrapCfg : orders.mainWrapCal);
        fn_Tab_Next_Ctrl_Engine(ctx, Resolve(ctx, ctx.gvMain, orders.main), panel, control,
                                wrapPanel, wrap);
    }
    if (panel == ctx.gvCAL) {
        fn_Tab_Next_Ctrl_Engine(ctx, Resolve(ctx, ctx.gvCAL, orders.cal), panel, control,
                                ctx.gvMain, read);
    }
    return 0;
}

int fn_Enter_to_Next(Context& ctx, int panel, int control, int event, int key) {
    if (event == ui::EVENT_KEYPRESS && key == ui::VAL_ENTER_VKEY)
        fn_Tab_Next_Ctrl(ctx, panel, control);
    return 0;
}

}  // namespace conf
