#pragma once
// Numbers shared by the panel runtime, its front ends and the programs: events, key codes,
// attributes, control kinds, colours and result codes.

namespace ui {

// Events delivered to control, panel and menu callbacks.
enum Event : int {
    EVENT_NONE = 0,
    EVENT_COMMIT = 1,  // the user finished changing a control (or pressed a button)
    EVENT_VAL_CHANGED = 2,
    EVENT_LEFT_CLICK = 3,
    EVENT_LEFT_CLICK_UP = 4,
    EVENT_KEYPRESS = 5,  // eventData1 = key code (character or virtual key | modifiers)
    EVENT_GOT_FOCUS = 6,
    EVENT_LOST_FOCUS = 7,
    EVENT_CLOSE = 8,  // the panel's close box
    EVENT_TIMER_TICK = 9,
    EVENT_ACTIVE_TAB_CHANGE = 10,  // eventData1 = old page, eventData2 = new page
    EVENT_DISCARD = 11,
};

// Key codes of EVENT_KEYPRESS. Plain characters arrive as their character code.
constexpr int VAL_TAB_VKEY = 0x0100;
constexpr int VAL_BACKSPACE_VKEY = 0x0200;
constexpr int VAL_ESC_VKEY = 0x0300;
constexpr int VAL_ENTER_VKEY = 0x0400;
constexpr int VAL_UP_ARROW_VKEY = 0x0600;
constexpr int VAL_DOWN_ARROW_VKEY = 0x0700;
constexpr int VAL_LEFT_ARROW_VKEY = 0x0800;
constexpr int VAL_RIGHT_ARROW_VKEY = 0x0900;
constexpr int VAL_INSERT_VKEY = 0x0A00;
constexpr int VAL_FWD_DELETE_VKEY = 0x0B00;
constexpr int VAL_HOME_VKEY = 0x0C00;
constexpr int VAL_END_VKEY = 0x0D00;
constexpr int VAL_PAGE_UP_VKEY = 0x0E00;
constexpr int VAL_PAGE_DOWN_VKEY = 0x0F00;
constexpr int VAL_F1_VKEY = 0x1000;  // F1..F12 are 0x1000..0x1B00
constexpr int VAL_F2_VKEY = 0x1100;
constexpr int VAL_F3_VKEY = 0x1200;
constexpr int VAL_F12_VKEY = 0x1B00;
constexpr int VAL_SHIFT_MODIFIER = 0x00010000;
constexpr int VAL_MENUKEY_MODIFIER = 0x00020000;    // Ctrl
constexpr int VAL_UNDERLINE_MODIFIER = 0x00040000;  // Alt
constexpr int VAL_VKEY_MASK = 0x0000FF00;
constexpr int VAL_ASCII_KEY_MASK = 0x000000FF;
constexpr int VAL_MODIFIER_MASK = 0x00FF0000;

// Control kinds, as resource files name them (see resource_loader.h).
enum class Kind {
    Numeric,      // integer numeric: "numeric"
    Real,         // real numeric with a precision: "real"
    String,       // one-line text, editable or indicator: "string"
    TextMsg,      // a text message, shown only: "textmsg"
    Ring,         // drop-down list of (label, value) items: "ring"
    ListBox,      // list of (label, value) items: "listbox"
    RadioButton,  // one button of a radio group, value 0/1: "radio"
    Toggle,       // toggle button, value 0/1: "toggle"
    Command,      // push button: "command"
    Led,          // lamp, value 0/1: "led"
    Table,        // cells of text or numbers with row and column labels: "table"
    Timer,        // invisible, ticks while enabled: "timer"
    Tab,          // tab control whose pages are panels: "tab"
    Decoration,   // a captioned frame that groups controls: "decoration"
    Chart,        // a trend line of (x seconds, y) points with gaps: "chart"
};

// Attributes of controls (SetCtrlAttribute), panels (SetPanelAttribute), menu bars
// (SetMenuBarAttribute) and table rows and columns.
enum Attribute : int {
    ATTR_DIMMED = 1000,  // int 0/1; controls, menus, menu items
    ATTR_VISIBLE,        // int 0/1; controls, panels (displayed)
    ATTR_TEXT_COLOR,     // int RGB
    ATTR_TEXT_BGCOLOR,   // int RGB; numerics and strings highlight with it
    ATTR_FRAME_COLOR,    // int RGB; the colour of rings (and buttons)
    ATTR_PRECISION,      // int, decimals shown by a real numeric (a chart: of its y labels)
    ATTR_LABEL_TEXT,     // string; control label, table row/column label
    ATTR_CTRL_MODE,      // int VAL_HOT / VAL_INDICATOR
    ATTR_ENABLED,        // int 0/1; timers
    ATTR_INTERVAL,       // double seconds; timers
    ATTR_LEFT,           // int pixels
    ATTR_TOP,
    ATTR_WIDTH,
    ATTR_HEIGHT,
    ATTR_CONSTANT_NAME,   // string, the role name from the resource (read only)
    ATTR_CALLBACK_NAME,   // string, the callback named by the resource (read only)
    ATTR_CHECKED,         // int 0/1; menu items
    ATTR_ITEM_NAME,       // string; caption of a menu or menu item
    ATTR_TITLE,           // string; panel title
    ATTR_CHARSET,         // int; panel character set (VAL_*_CHARSET)
    ATTR_BACKCOLOR,       // int RGB; panel background
    ATTR_CHART_WINDOW,    // double seconds of x a chart shows, up to its newest point
    ATTR_CHART_CAPACITY,  // int, the most points a chart keeps (the oldest go first)
};

constexpr int VAL_HOT = 1;
constexpr int VAL_INDICATOR = 2;

// Character sets of a panel: how the front end decodes the bytes of its texts.
constexpr int VAL_NATIVE_CHARSET = -1;  // UTF-8 (resource files are UTF-8)
constexpr int VAL_GB2312_CHARSET = 134;
constexpr int VAL_BIG5_CHARSET = 136;

// Colours as RGB integers.
constexpr int VAL_BLACK = 0x000000;
constexpr int VAL_WHITE = 0xFFFFFF;
constexpr int VAL_RED = 0xFF0000;
constexpr int VAL_GREEN = 0x00FF00;
constexpr int VAL_DK_GREEN = 0x008000;
constexpr int VAL_BLUE = 0x0000FF;
constexpr int VAL_LT_GRAY = 0xECE9D8;

// File selection results.
constexpr int VAL_NO_FILE_SELECTED = 0;
constexpr int VAL_EXISTING_FILE_SELECTED = 1;
constexpr int VAL_NEW_FILE_SELECTED = 2;

// Result codes of the runtime's calls; 0 or positive is success.
enum UiError : int {
    UIE_NONE = 0,
    UIE_INVALID_PANEL = -1,
    UIE_INVALID_CONTROL = -2,
    UIE_INVALID_ATTRIBUTE = -3,  // attribute not meaningful for this control or value type
    UIE_INVALID_VALUE = -4,      // wrong value type for the control, or no such value
    UIE_INDEX_OUT_OF_RANGE = -5,
    UIE_NOT_FOCUSABLE = -6,     // dimmed, hidden or not a control that takes focus
    UIE_RESOURCE = -7,          // resource file missing or broken (see LastError)
    UIE_UNKNOWN_CALLBACK = -8,  // resource names a callback nobody registered
    UIE_INVALID_MENU = -9,
    UIE_NOT_ACCEPTED = -10,  // user input on a dimmed, hidden or indicator control
    UIE_LOOP_RUNNING = -11,
    UIE_LOOP_IDLE = -12,  // headless loop: nothing left that could ever happen
};

}  // namespace ui
