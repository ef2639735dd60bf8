#pragma once
// The panel model: what a resource file describes and what the programs change. The runtime
// owns it; front ends read it to draw and report user input back through the runtime.

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/callbacks.h"
#include "platform/ui/constants.h"

namespace ui {

// A table cell holds text or a number.
using CellValue = std::variant<int, double, std::string>;

// One point of a chart. A gap is a break in the line (an open sensor, a failed poll): its y is
// NaN and means nothing; the line stops at the point before it and starts again after it.
struct ChartPoint {
    double x = 0.0;  // seconds, never less than the x of the point before
    double y = 0.0;
    bool gap = false;
};

// Chart defaults and limits. A capacity bounds the memory of a chart that is fed for days:
// 36000 is ten hours of one point a second.
constexpr double kChartDefaultWindow = 600.0;
constexpr int kChartDefaultCapacity = 36000;
constexpr int kChartMaxCapacity = 1000000;

struct ListItem {
    std::string label;
    int value = 0;
};

struct Control {
    int id = 0;
    std::string name;  // role name, unique within its panel when given
    Kind kind = Kind::Numeric;
    std::string label;
    int left = 0, top = 0, width = 80, height = 24;
    bool dimmed = false;
    bool visible = true;
    bool indicator = false;
    int textColor = VAL_BLACK;
    int textBgColor = VAL_WHITE;
    int frameColor = VAL_LT_GRAY;
    int precision = 0;

    double number = 0.0;  // Numeric, Real
    int state = 0;        // RadioButton, Toggle, Led
    std::string text;     // String, TextMsg

    std::vector<ListItem> items;  // Ring, ListBox
    int index = -1;               // selected item, -1 when the list is empty

    std::vector<std::string> rowLabels;         // Table
    std::vector<std::string> columnLabels;      // Table
    std::vector<std::vector<CellValue>> cells;  // [row][column]

    bool enabled = false;  // Timer
    double interval = 1.0;

    std::vector<int> pages;  // Tab: panel handles of the pages
    int activePage = 0;

    std::deque<ChartPoint> points;  // Chart: oldest first, at most `capacity`
    double window = kChartDefaultWindow;
    int capacity = kChartDefaultCapacity;

    std::string callbackName;
    ControlCallback callback;
    void* callbackData = nullptr;
};

struct MenuItem {
    int id = 0;
    std::string name;
    std::string label;
    bool checked = false;
    bool dimmed = false;
    std::string callbackName;
    MenuCallback callback;
    void* callbackData = nullptr;
};

// A menu of the bar. A menu without items is a command on the bar itself (its callback runs
// when it is chosen).
struct Menu {
    int id = 0;
    std::string name;
    std::string label;
    bool dimmed = false;
    std::vector<MenuItem> items;
    std::string callbackName;
    MenuCallback callback;
    void* callbackData = nullptr;
};

struct MenuBar {
    int handle = 0;
    int panel = 0;
    std::vector<Menu> menus;
};

struct Panel {
    int handle = 0;
    int parent = 0;      // 0 for a top-level panel; the owning panel for a tab page
    int tabControl = 0;  // for a tab page: the tab control of the parent
    int pageIndex = -1;  // for a tab page: its index
    std::string name;
    std::string title;
    std::string sourceFile;
    int left = 0, top = 0, width = 640, height = 480;
    int charset = VAL_NATIVE_CHARSET;
    int backColor = VAL_LT_GRAY;
    bool displayed = false;
    std::vector<Control> controls;
    int menuBar = 0;
    int activeCtrl = 0;
    std::string callbackName;
    PanelCallback callback;
    void* callbackData = nullptr;
};

}  // namespace ui
