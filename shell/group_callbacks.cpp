#include "shell/group_callbacks.h"

#include <string>

#include "calib/input_cal.h"
#include "core/bind.h"
#include "core/selector.h"
#include "models/model.h"
#include "nav/focus.h"

namespace conf {

namespace {

// Installs `fn` on the controls `prefix`0 … `prefix`count-1 of `panel`, with the module's
// selector field set to each index in turn (left at the last one, as every member loop does).
void Install(Context& ctx, int panel, const char* prefix, int count, const SelectorField* field,
             CtrlFn fn) {
    for (int i = 0; i < count; ++i) {
        if (field) SetField(ctx.gsRAM01, *field, i);
        int control = ctx.ui.FindCtrl(panel, prefix + std::to_string(i));
        ctx.ui.InstallCtrlCallback(panel, control, BindCtrl(ctx, fn), nullptr);
    }
}

}  // namespace

int fn_Enter_Callback(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    return fn_Enter_to_Next(ctx, panel, control, event, data1);
}

int IC_B::CALLBACK(Context& ctx) {
    Install(ctx, ctx.gvCAL, "IC_B_", static_cast<int>(ctx.model.catalogue.caCC_IC_B.size()),
            &kSelICStep, evIC);
    return 0;
}

int ICSP::CALLBACK(Context& ctx) {
    Install(ctx, ctx.gvCAL, "ICSP_", static_cast<int>(ctx.model.catalogue.caCC_ICSP.size()),
            &kSelICStep, fn_Enter_Callback);
    return 0;
}

}  // namespace conf
