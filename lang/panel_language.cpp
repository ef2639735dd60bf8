#include "lang/panel_language.h"

#include "lang/lang_db.h"
#include "models/model.h"
#include "platform/sys/small_file.h"

namespace conf {

namespace {

// The file holds one digit; anything longer than this is not a language choice.
constexpr std::size_t kLanguageFileLimit = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int PanelOf(const Context& ctx, CaptionPanel panel) {
    switch (panel) {
        case CaptionPanel::kMain:
            return ctx.gvMain;
        case CaptionPanel::kConfig:
            return ctx.gvCFG;
        case CaptionPanel::kCalib:
            return ctx.gvCAL;
    }
    return 0;
}

int SetCaption(Context& ctx, const Caption& caption, const std::string& text) {
    const int panel = PanelOf(ctx, caption.panel);
    switch (caption.kind) {
        case CaptionKind::kPageTitle:
            return ctx.ui.SetPanelAttribute(panel, ui::ATTR_TITLE, text);
        case CaptionKind::kLabel: {
            const int control = ctx.ui.FindCtrl(panel, caption.name);
            if (control < 0) return control;
            return ctx.ui.SetCtrlAttribute(panel, control, ui::ATTR_LABEL_TEXT, text);
        }
        case CaptionKind::kText: {
            const int control = ctx.ui.FindCtrl(panel, caption.name);
            if (control < 0) return control;
            return ctx.ui.SetCtrlVal(panel, control, text);
        }
        case CaptionKind::kMenu: {
            const int menuBar = ctx.ui.GetPanelMenuBar(panel);
            const int item = ctx.ui.FindMenuItem(menuBar, caption.name);
            if (item < 0) return item;
            return ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_ITEM_NAME, text);
        }
    }
    return -1;
}

}  // namespace

int fn_Parse_Language(const std::string& content) {
    std::size_t begin = 0, end = content.size();
    while (begin < end && IsBlank(content[begin]))
        ++begin;
    while (end > begin && IsBlank(content[end - 1]))
        --end;
    // One digit: "01" or "1 2" is not what the scanner writes.
    if (end - begin != 1) return -1;
    const char digit = content[begin];
    return digit >= '0' && digit <= '2' ? digit - '0' : -1;
}

int LangS::RF(Context& ctx) {
    std::string content;
    int language = kLangEnglish;
    // One byte past the limit tells a longer file, which is no language choice.
    if (sys::ReadFileHead(kLanguageFileName, kLanguageFileLimit + 1, &content) == 0 &&
        content.size() <= kLanguageFileLimit) {
        const int chosen = fn_Parse_Language(content);
        if (chosen >= 0) language = chosen;
    }
    ctx.gvLANG = language;
    return language;
}

int LangS::Char_Set(Context& ctx) {
    static constexpr int kCharsets[3] = {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET,
                                         ui::VAL_GB2312_CHARSET};
    const int language = ctx.gvLANG >= 0 && ctx.gvLANG <= 2 ? ctx.gvLANG : kLangEnglish;
    return ctx.ui.SetPanelAttribute(ctx.gvMain, ui::ATTR_CHARSET, kCharsets[language]);
}

int LangS::Refresh(Context& ctx) {
    int result = 0;
    for (std::span<const Caption> table : ctx.model.catalogue.captions) {
        for (const Caption& caption : table) {
            std::string text;
            LangS::DataBase(ctx, caption.textId, ctx.gvLANG, &text);
            if (text.empty()) continue;  // nothing to show: the resource's caption stays
            const int r = SetCaption(ctx, caption, text);
            if (r < 0 && result == 0) result = r;
        }
    }
    return result;
}

}  // namespace conf
