#pragma once
// The panel runtime: panels and controls loaded from JSON resources, their values and
// attributes, callbacks, focus, menus, popups, the event loop and Delay. Everything is
// single-threaded: callbacks run one at a time on the thread that calls the runtime.
//
// Handles: panels and menu bars get positive handles from one counter; controls are
// identified by their id within their panel (ids are positive). Calls return 0 (or a handle)
// on success and a negative UiError on failure; they never throw.
//
// The program side (Set/Get...) never coerces a numeric value to a range: modules do their
// own range checks. The user side (User...) is what a front end or a test calls when the
// user acts; it refuses input on dimmed, hidden and indicator controls and dispatches the
// events a real panel would.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/callbacks.h"
#include "platform/ui/front_end.h"
#include "platform/ui/model.h"

namespace ui {

class Runtime {
  public:
    Runtime(FrontEnd& frontEnd, const CallbackRegistry& registry);
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // --- Resources and panels ---------------------------------------------------------
    // Loads the panel named `panelName` from the resource file (path relative to the
    // working directory) with its tab pages and menu bar. Returns the panel handle, or
    // UIE_RESOURCE / UIE_UNKNOWN_CALLBACK with LastError() naming the file and the place.
    int LoadPanel(int parent, const std::string& file, const std::string& panelName);
    const std::string& LastError() const { return lastError_; }
    // Resource paths that are relative are taken from `dir` instead of the working directory
    // (a run in a working folder of its own still finds the program's panels); empty: as given.
    void SetResourceBase(const std::string& dir) { resourceBase_ = dir; }
    int DisplayPanel(int panel);
    int HidePanel(int panel);
    // Discards the panel, its tab pages and its menu bar.
    int DiscardPanel(int panel);
    int GetPanelHandleFromTabPage(int panel, int tabControl, int pageIndex, int* pageHandle);
    int SetActiveTabPage(int panel, int tabControl, int pageIndex);
    int GetActiveTabPage(int panel, int tabControl, int* pageIndex);
    int GetNumTabPages(int panel, int tabControl, int* count);
    int SetPanelAttribute(int panel, int attribute, int value);
    int SetPanelAttribute(int panel, int attribute, const std::string& value);
    int GetPanelAttribute(int panel, int attribute, int* value);
    int GetPanelAttribute(int panel, int attribute, std::string* value);
    int InstallPanelCallback(int panel, PanelCallback callback, void* callbackData);

    // --- Control values ------------------------------------------------------------------
    // Numerics take int or double (an integer numeric rounds a double to the nearest);
    // strings and text messages take text; radio buttons, toggles and LEDs take 0/1; rings
    // and list boxes select the first item with that value; labels set a button's caption.
    int SetCtrlVal(int panel, int control, int value);
    int SetCtrlVal(int panel, int control, double value);
    int SetCtrlVal(int panel, int control, const std::string& value);
    int SetCtrlVal(int panel, int control, const char* value) {
        return SetCtrlVal(panel, control, std::string(value));
    }
    int GetCtrlVal(int panel, int control, int* value);
    int GetCtrlVal(int panel, int control, double* value);
    int GetCtrlVal(int panel, int control, std::string* value);

    // Rings and list boxes.
    int SetCtrlIndex(int panel, int control, int index);
    int GetCtrlIndex(int panel, int control, int* index);
    // index -1 appends.
    int InsertListItem(int panel, int control, int index, const std::string& label, int value);
    int DeleteListItem(int panel, int control, int index, int count);
    int ClearListCtrl(int panel, int control);
    int GetNumListItems(int panel, int control, int* count);
    int GetValueFromIndex(int panel, int control, int index, int* value);
    int GetLabelFromIndex(int panel, int control, int index, std::string* label);
    int GetIndexFromValue(int panel, int control, int value, int* index);

    // Tables: rows and columns count from 1.
    int SetTableCellVal(int panel, int control, int row, int column, const CellValue& value);
    int GetTableCellVal(int panel, int control, int row, int column, CellValue* value);
    int SetTableRowAttribute(int panel, int control, int row, int attribute,
                             const std::string& value);
    int SetTableColumnAttribute(int panel, int control, int column, int attribute,
                                const std::string& value);
    int GetTableRowAttribute(int panel, int control, int row, int attribute, std::string* value);
    int GetTableColumnAttribute(int panel, int control, int column, int attribute,
                                std::string* value);

    // --- Charts -----------------------------------------------------------------------------
    // x is in seconds and never goes back: an x before the newest point's, or one that is
    // not finite, is refused with UIE_INVALID_VALUE. A y that is not finite (an open sensor
    // read as NaN) is kept as a gap. A gap right after a gap only moves that break's x on, so
    // a long outage takes one point. Past the capacity the oldest points go. Other kinds of
    // control: UIE_INVALID_CONTROL. Window, capacity and precision are attributes
    // (ATTR_CHART_WINDOW, ATTR_CHART_CAPACITY, ATTR_PRECISION).
    int ChartAddPoint(int panel, int control, double x, double y);
    int ChartAddGap(int panel, int control, double x);
    int ChartClear(int panel, int control);
    // The points kept, oldest first.
    int GetChartPoints(int panel, int control, std::vector<ChartPoint>* points);
    int GetNumChartPoints(int panel, int control, int* count);

    // --- Attributes --------------------------------------------------------------------
    int SetCtrlAttribute(int panel, int control, int attribute, int value);
    int SetCtrlAttribute(int panel, int control, int attribute, double value);
    int SetCtrlAttribute(int panel, int control, int attribute, const std::string& value);
    int GetCtrlAttribute(int panel, int control, int attribute, int* value);
    int GetCtrlAttribute(int panel, int control, int attribute, double* value);
    int GetCtrlAttribute(int panel, int control, int attribute, std::string* value);
    int InstallCtrlCallback(int panel, int control, ControlCallback callback, void* callbackData);

    // --- Focus -------------------------------------------------------------------------
    // Refused with UIE_NOT_FOCUSABLE for a dimmed or hidden control, a control on a tab page
    // that is not the active one, an indicator, and kinds that never take focus (text
    // messages, LEDs, timers, decorations, tab controls).
    int SetActiveCtrl(int panel, int control);
    // The panel's active control id, or a negative error.
    int GetActiveCtrl(int panel);
    int SetActivePanel(int panel);
    int GetActivePanel() const { return activePanel_; }
    bool CanTakeFocus(int panel, int control) const;

    // --- Menus -------------------------------------------------------------------------
    // The panel's menu bar handle, 0 when it has none, negative on a bad panel.
    int GetPanelMenuBar(int panel);
    // `item` is a menu or menu item id; ATTR_CHECKED, ATTR_DIMMED, ATTR_ITEM_NAME.
    int SetMenuBarAttribute(int menuBar, int item, int attribute, int value);
    int SetMenuBarAttribute(int menuBar, int item, int attribute, const std::string& value);
    int GetMenuBarAttribute(int menuBar, int item, int attribute, int* value);
    int GetMenuBarAttribute(int menuBar, int item, int attribute, std::string* value);
    int InstallMenuCallback(int menuBar, int item, MenuCallback callback, void* callbackData);

    // --- Lookups by role name ------------------------------------------------------------
    // Control id, or UIE_INVALID_CONTROL.
    int FindCtrl(int panel, const std::string& name) const;
    // Menu or item id, or UIE_INVALID_MENU.
    int FindMenuItem(int menuBar, const std::string& name) const;

    // --- Popups, loop, time --------------------------------------------------------------
    int MessagePopup(const std::string& title, const std::string& text);
    int ConfirmPopup(const std::string& title, const std::string& text);
    int FileSelectPopup(const FileSelectRequest& request, std::string* path);
    // Runs the event loop until QuitUserInterface; returns its value.
    int RunUserInterface();
    int QuitUserInterface(int value);
    // Blocks for `seconds` after letting the front end repaint.
    void Delay(double seconds);
    sys::Clock& Clock() { return frontEnd_.Clock(); }

    // --- The user side ------------------------------------------------------------------
    // Each refuses input on a dimmed, hidden or indicator control (UIE_NOT_ACCEPTED), changes
    // the value and dispatches EVENT_VAL_CHANGED (when the value changed) and EVENT_COMMIT.
    // The focus is left alone (UserFocus reports it). Return: the commit callback's result.
    int UserSetValue(int panel, int control, double value);            // numerics
    int UserSetText(int panel, int control, const std::string& text);  // strings
    int UserSelectIndex(int panel, int control, int index);            // rings, list boxes
    int UserToggle(int panel, int control);                            // radio, toggle
    int UserPress(int panel, int control);                             // command buttons
    int UserSelectTab(int panel, int tabControl, int pageIndex);
    // A mouse release over a control (list boxes use it): EVENT_LEFT_CLICK_UP.
    int UserClickUp(int panel, int control);
    // The user gives a control the focus (mouse or focus keys).
    int UserFocus(int panel, int control);
    // A key press on `control` (0 when no control has the focus): the control's callback
    // first, then, unless it swallowed the key, the callback of its panel and of each panel
    // above it. Returns 1 when swallowed.
    int UserKeyPress(int panel, int control, int key);
    // The close box: EVENT_CLOSE to the panel callback.
    int UserClosePanel(int panel);
    int UserMenuSelect(int menuBar, int item);
    // A timer's tick; ignored while the timer is disabled.
    int TimerTick(int panel, int control);

    // --- Model access for front ends and tests --------------------------------------------
    const Panel* GetPanel(int panel) const;
    const Control* GetControl(int panel, int control) const;
    const MenuBar* GetMenuBar(int menuBar) const;
    // Handles of live panels in creation order.
    std::vector<int> PanelHandles() const;
    // The top-level panel a panel (or tab page) belongs to.
    int TopPanel(int panel) const;

  private:
    Panel* FindPanel(int panel);
    Control* FindControl(int panel, int control);
    // A row (or column) label of a table control, its 1-based number checked.
    int TableLabelAt(int panel, int control, bool row, int n, int attribute, std::string** label);
    int SetTableLabel(int panel, int control, bool row, int n, int attribute,
                      const std::string& value);
    int GetTableLabel(int panel, int control, bool row, int n, int attribute, std::string* value);
    MenuItem* FindItem(int menuBar, int item, Menu** menu);
    int Dispatch(int panel, int control, int event, int data1, int data2);
    int DispatchPanel(int panel, int event, int data1, int data2);
    bool PageShown(int panel) const;
    void SetFocus(int panel, int control);
    int AcceptUserInput(int panel, int control);
    int SetNumber(Control& c, double value, int panel);
    // The chart control, or nullptr with *error set.
    Control* FindChart(int panel, int control, int* error);
    void Notify(Change what, int panel, int control);

    FrontEnd& frontEnd_;
    const CallbackRegistry& registry_;
    std::map<int, std::unique_ptr<Panel>> panels_;
    std::map<int, std::unique_ptr<MenuBar>> menuBars_;
    int nextHandle_ = 1;
    int activePanel_ = 0;
    bool looping_ = false;
    std::string lastError_;
    std::string resourceBase_;
};

}  // namespace ui
