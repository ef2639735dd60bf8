#pragma once
// One set of behaviour checks, two front ends: the headless one driven through the runtime's
// user side, the Qt one through its real widgets with QTest's mouse and keys.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/front_end.h"
#include "platform/ui/runtime.h"

namespace qttest {

// What a control shows, as the user reads it.
struct Shown {
    std::string text;  // UTF-8: the value of numerics, strings and rings, the caption of buttons
    bool enabled = false;
    bool visible = false;
    bool focused = false;
    bool checked = false;  // radio buttons, toggles and menu items
    int background = -1;   // RGB behind the text of numerics and strings
};

class PanelDriver {
  public:
    virtual ~PanelDriver() = default;
    virtual ui::FrontEnd& FrontEnd() = 0;
    void Attach(ui::Runtime& runtime) { rt_ = &runtime; }

    // Displays the panel and waits until it takes input; its first control gets the focus.
    virtual void Show(int panel) = 0;
    // The user clicks into a numeric or string control and selects its text.
    virtual void ClickInto(int panel, int control) = 0;
    // Typing on the keyboard, into whatever has the focus.
    virtual void Type(const std::string& utf8) = 0;
    // One key by its runtime code: a virtual key, a character, optionally | Ctrl.
    virtual void Key(int code) = 0;
    virtual void Click(int panel, int control) = 0;                 // command, radio, toggle
    virtual void Choose(int panel, int control, int index) = 0;     // a ring's item
    virtual void ClickItem(int panel, int control, int index) = 0;  // a list box's item
    virtual void SelectTab(int panel, int tabControl, int page) = 0;
    virtual void SelectMenu(int menuBar, int item) = 0;
    virtual void CloseBox(int panel) = 0;
    // Lets time pass until `done` holds, at most `seconds`; whether it came to hold.
    virtual bool WaitFor(const std::function<bool()>& done, double seconds) = 0;

    virtual Shown Look(int panel, int control) = 0;
    virtual bool WindowVisible(int panel) = 0;
    // A menu item: its check mark in `checked`, whether it can be chosen in `enabled`.
    virtual Shown LookMenu(int menuBar, int item) = 0;

  protected:
    ui::Runtime* rt_ = nullptr;
};

using DriverFactory = std::unique_ptr<PanelDriver> (*)();
std::unique_ptr<PanelDriver> MakeHeadlessDriver();
std::unique_ptr<PanelDriver> MakeQtDriver();

}  // namespace qttest
