#include "shell/model_check.h"

#include <cstdio>

#include "models/validate.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"

namespace conf {

int Model_Check::Descriptor(const Model& model, std::string* message) {
    if (Validate(model, message) < 0) return -1;
    return ValidateCallbacks(model, SharedCallbackNames(), message);
}

int Model_Check::Panel(Context& ctx, std::string* message) {
    const Identity& id = ctx.model.id;
    const int main = ctx.ui.LoadPanel(0, id.panelResource, id.panelName);
    if (main < 0) return 0;
    int cfg = 0, cal = 0;
    const int tab = ctx.ui.FindCtrl(main, "TAB");
    ctx.ui.GetPanelHandleFromTabPage(main, tab, 0, &cfg);
    ctx.ui.GetPanelHandleFromTabPage(main, tab, 1, &cal);
    const auto has = [&](FocusPanel panel, const std::string& name) {
        const int handle = panel == FocusPanel::kMain     ? main
                           : panel == FocusPanel::kConfig ? cfg
                                                          : cal;
        return handle > 0 && ctx.ui.FindCtrl(handle, name) > 0;
    };
    const int r = ValidateFocusOrders(ctx.model, has, message);
    ctx.ui.DiscardPanel(main);
    return r;
}

void Model_Check::Report(Context& ctx, const std::string& message) {
    // The message names the model already.
    std::fprintf(stderr, "%s\n", message.c_str());
    ctx.ui.MessagePopup("Model descriptor", message);
}

int RunCheckedConfigurator(Context& ctx, ui::CallbackRegistry& registry) {
    std::string message;
    int r = Model_Check::Descriptor(ctx.model, &message);
    if (r == 0 && RegisterCallbacks(ctx, registry) < 0) {
        r = -1;
        message = "the callbacks could not be registered";
    }
    if (r == 0) r = Model_Check::Panel(ctx, &message);
    if (r < 0) {
        Model_Check::Report(ctx, message);
        return 1;
    }
    return RunConfigurator(ctx);
}

}  // namespace conf
