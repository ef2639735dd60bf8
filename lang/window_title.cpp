#include "lang/window_title.h"

#include <cstdio>

#include "models/model.h"

namespace conf {

std::string fn_Window_Title(const Model& model, int com, int hw) {
    std::string title = model.id.programName;
    if (com < 1 || com > 256) return title;
    title += " - COM" + std::to_string(com);
    if (hw <= 0 || hw >= kModelUnknown) return title;
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(hw));
    const char* product = ProductOf(model, hw);
    title += product ? std::string(" - ") + product + " " + code
                     : std::string(" - H/W not match ") + code;
    return title;
}

int Title::SV(Context& ctx) {
    return ctx.ui.SetPanelAttribute(ctx.gvMain, ui::ATTR_TITLE,
                                    fn_Window_Title(ctx.model, ctx.gvCOM, ctx.gvHW));
}

}  // namespace conf
