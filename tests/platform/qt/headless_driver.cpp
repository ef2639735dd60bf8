// The user as the headless front end sees one: calls on the runtime's user side, doing what a
// screen front end does around them (typed text is committed on Enter, after the key press).

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "panel_driver.h"
#include "platform/ui/headless.h"

namespace qttest {

namespace {

using ui::Kind;

class HeadlessDriver final : public PanelDriver {
  public:
    ui::FrontEnd& FrontEnd() override { return fe_; }

    void Show(int panel) override {
        rt_->DisplayPanel(panel);
        shown_ = panel;
        // As a window does when it becomes active.
        for (const auto& c : rt_->GetPanel(panel)->controls)
            if (rt_->CanTakeFocus(panel, c.id)) {
                rt_->UserFocus(panel, c.id);
                break;
            }
    }
    void ClickInto(int panel, int control) override {
        if (rt_->UserFocus(panel, control) == 0) typed_.clear();
    }
    void Type(const std::string& utf8) override {
        for (char ch : utf8) {
            if (Focus() != typedAt_) typed_.clear();
            typedAt_ = Focus();
            if (rt_->UserKeyPress(typedAt_.first, typedAt_.second,
                                  static_cast<unsigned char>(ch)) != 1)
                typed_ += ch;
        }
    }
    void Key(int code) override {
        const auto at = Focus();
        const bool swallowed = rt_->UserKeyPress(at.first, at.second, code) == 1;
        // A swallowed Enter commits only when its callback moved the focus: the edit ends then.
        if (code == ui::VAL_ENTER_VKEY && !typed_.empty() && at == typedAt_ &&
            (!swallowed || Focus() != at))
            CommitTyped();
    }
    void Click(int panel, int control) override {
        if (rt_->GetControl(panel, control)->kind == Kind::Command)
            rt_->UserPress(panel, control);
        else
            rt_->UserToggle(panel, control);
    }
    void Choose(int panel, int control, int index) override {
        rt_->UserSelectIndex(panel, control, index);
    }
    void ClickItem(int panel, int control, int index) override {
        rt_->UserSelectIndex(panel, control, index);
        rt_->UserClickUp(panel, control);
    }
    void SelectTab(int panel, int tabControl, int page) override {
        rt_->UserSelectTab(panel, tabControl, page);
    }
    void SelectMenu(int menuBar, int item) override { rt_->UserMenuSelect(menuBar, item); }
    void CloseBox(int panel) override { rt_->UserClosePanel(panel); }
    bool WaitFor(const std::function<bool()>& done, double seconds) override {
        for (double t = 0; t < seconds && !done(); t += 0.005)
            fe_.AdvanceTime(0.005);
        return done();
    }

    Shown Look(int panel, int control) override {
        const ui::Control* c = rt_->GetControl(panel, control);
        return {.text = Text(*c),
                .enabled = !c->dimmed,
                .visible = c->visible && Visible(panel),
                .focused = rt_->GetActivePanel() == panel && rt_->GetActiveCtrl(panel) == control,
                .checked = c->state != 0,
                .background = c->textBgColor};
    }
    bool WindowVisible(int panel) override { return rt_->GetPanel(panel)->displayed; }
    Shown LookMenu(int menuBar, int item) override {
        int checked = 0, dimmed = 0;
        rt_->GetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, &checked);
        rt_->GetMenuBarAttribute(menuBar, item, ui::ATTR_DIMMED, &dimmed);
        Shown s;
        s.enabled = dimmed == 0;
        s.checked = checked != 0;
        return s;
    }

  private:
    std::pair<int, int> Focus() const {
        const int panel = rt_->GetActivePanel();
        return panel > 0 ? std::make_pair(panel, rt_->GetActiveCtrl(panel))
                         : std::make_pair(shown_, 0);
    }
    // Commits what was typed into its control; the focus stays where callbacks put it.
    void CommitTyped() {
        const auto [panel, control] = typedAt_;
        const ui::Control* c = rt_->GetControl(panel, control);
        const std::string typed = std::exchange(typed_, {});
        char* end = nullptr;
        const double number = std::strtod(typed.c_str(), &end);
        if (c && c->kind == Kind::String && typed != c->text)
            rt_->UserSetText(panel, control, typed);
        else if (c && (c->kind == Kind::Numeric || c->kind == Kind::Real) && *end == '\0' &&
                 number != c->number)  // a numeric widget takes nothing but a number
            rt_->UserSetValue(panel, control, number);
    }
    bool Visible(int panel) const {
        const ui::Panel* p = rt_->GetPanel(panel);
        for (; p && p->pageIndex >= 0; p = rt_->GetPanel(p->parent)) {
            const ui::Control* tab = rt_->GetControl(p->parent, p->tabControl);
            if (tab->activePage != p->pageIndex) return false;
        }
        return p && p->displayed;
    }
    static std::string Text(const ui::Control& c) {
        if (c.kind == Kind::Numeric) return std::to_string(static_cast<int>(c.number));
        if (c.kind == Kind::Real) {
            char real[64];
            std::snprintf(real, sizeof real, "%.*f", c.precision, c.number);
            return real;
        }
        if (c.kind == Kind::String || c.kind == Kind::TextMsg) return c.text;
        if (c.kind != Kind::Ring && c.kind != Kind::ListBox) return c.label;
        return c.index < 0 ? "" : c.items[static_cast<size_t>(c.index)].label;
    }

    ui::HeadlessFrontEnd fe_;
    int shown_ = 0;
    std::string typed_;                  // typed since the focus came to typedAt_
    std::pair<int, int> typedAt_{0, 0};  // panel, control
};

}  // namespace

std::unique_ptr<PanelDriver> MakeHeadlessDriver() {
    return std::make_unique<HeadlessDriver>();
}

}  // namespace qttest
