#pragma once
// What the runtime needs from whatever shows the panels: change notifications, the event
// loop, popups, timers and the clock. The headless front end (tests) and the Qt front end
// (desktop) implement it.

#include <string>

#include "platform/sys/clock.h"

namespace ui {

class Runtime;

enum class Change {
    PanelLoaded,     // a new panel (and its pages) exists
    PanelDisplayed,  // shown or hidden
    PanelDiscarded,  // about to disappear; the handle is still valid during the call
    PanelAttribute,  // title, charset, colour, active tab page
    Control,         // value, items, cells or an attribute of one control
    ChartAppend,     // a chart's newest point is new, or its trailing gap moved on; points
                     // over its capacity may have gone from the front (all else is Control)
    Timer,           // a timer's enabled flag or interval changed
    Focus,           // active panel or active control changed
    MenuBar,         // a menu or menu item attribute changed
};

struct FileSelectRequest {
    std::string defaultDirectory;
    std::string defaultFileSpec;  // e.g. "*.txt" or a default file name
    std::string fileTypeList;     // e.g. "*.txt"
    std::string title;
    bool saveButton = false;  // "Save" instead of "Load"
    bool restrictDirectory = false;
    bool restrictExtension = false;
    bool allowCancel = true;
    bool allowMakeDirectory = false;
};

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // Called once by the runtime's constructor.
    virtual void Attach(Runtime& runtime) = 0;
    // For Change::MenuBar, `panel` is the menu bar handle and `control` the item (0: all).
    virtual void Changed(Change what, int panel, int control) = 0;

    // Runs events until QuitLoop; returns the value given to QuitLoop.
    virtual int RunLoop() = 0;
    virtual void QuitLoop(int value) = 0;

    virtual void MessagePopup(const std::string& title, const std::string& text) = 0;
    // 1 for yes/OK, 0 for no/cancel.
    virtual int ConfirmPopup(const std::string& title, const std::string& text) = 0;
    // VAL_NO_FILE_SELECTED, VAL_EXISTING_FILE_SELECTED or VAL_NEW_FILE_SELECTED; `path` is
    // the full chosen path.
    virtual int FileSelectPopup(const FileSelectRequest& request, std::string* path) = 0;

    // Called before the runtime blocks in a Delay, so the user sees what was just drawn.
    virtual void BeforeDelay() = 0;
    virtual sys::Clock& Clock() = 0;
};

}  // namespace ui
