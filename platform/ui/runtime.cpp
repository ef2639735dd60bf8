#include "platform/ui/runtime.h"

#include <cmath>

#include "platform/ui/resource_loader.h"

namespace ui {

namespace {

bool IsList(Kind k) {
    return k == Kind::Ring || k == Kind::ListBox;
}
bool IsNumeric(Kind k) {
    return k == Kind::Numeric || k == Kind::Real;
}
bool IsState(Kind k) {
    return k == Kind::RadioButton || k == Kind::Toggle || k == Kind::Led;
}
bool IsColour(int v) {
    return v >= 0 && v <= 0xFFFFFF;
}

bool TakesFocus(Kind k) {
    switch (k) {
        case Kind::TextMsg:
        case Kind::Led:
        case Kind::Timer:
        case Kind::Tab:
        case Kind::Decoration:
        case Kind::Chart:
            return false;
        default:
            return true;
    }
}

// Round half away from zero, saturating, as an integer numeric shows a real value.
int RoundToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(std::lround(v));
}

}  // namespace

Runtime::Runtime(FrontEnd& frontEnd, const CallbackRegistry& registry)
    : frontEnd_(frontEnd), registry_(registry) {
    frontEnd_.Attach(*this);
}

// --- lookups ----------------------------------------------------------------------------

Panel* Runtime::FindPanel(int panel) {
    auto it = panels_.find(panel);
    return it == panels_.end() ? nullptr : it->second.get();
}

const Panel* Runtime::GetPanel(int panel) const {
    auto it = panels_.find(panel);
    return it == panels_.end() ? nullptr : it->second.get();
}

Control* Runtime::FindControl(int panel, int control) {
    Panel* p = FindPanel(panel);
    if (!p) return nullptr;
    for (auto& c : p->controls)
        if (c.id == control) return &c;
    return nullptr;
}

const Control* Runtime::GetControl(int panel, int control) const {
    const Panel* p = GetPanel(panel);
    if (!p) return nullptr;
    for (const auto& c : p->controls)
        if (c.id == control) return &c;
    return nullptr;
}

const MenuBar* Runtime::GetMenuBar(int menuBar) const {
    auto it = menuBars_.find(menuBar);
    return it == menuBars_.end() ? nullptr : it->second.get();
}

MenuItem* Runtime::FindItem(int menuBar, int item, Menu** menu) {
    auto it = menuBars_.find(menuBar);
    *menu = nullptr;
    if (it == menuBars_.end()) return nullptr;
    for (auto& m : it->second->menus) {
        if (m.id == item) {
            *menu = &m;
            return nullptr;
        }
        for (auto& i : m.items)
            if (i.id == item) {
                *menu = &m;
                return &i;
            }
    }
    return nullptr;
}

std::vector<int> Runtime::PanelHandles() const {
    std::vector<int> out;
    for (const auto& [h, p] : panels_)
        out.push_back(h);
    return out;
}

int Runtime::TopPanel(int panel) const {
    const Panel* p = GetPanel(panel);
    while (p && p->parent != 0) {
        const Panel* up = GetPanel(p->parent);
        if (!up) break;
        p = up;
    }
    return p ? p->handle : 0;
}

int Runtime::FindCtrl(int panel, const std::string& name) const {
    const Panel* p = GetPanel(panel);
    if (!p || name.empty()) return UIE_INVALID_CONTROL;
    for (const auto& c : p->controls)
        if (c.name == name) return c.id;
    return UIE_INVALID_CONTROL;
}

int Runtime::FindMenuItem(int menuBar, const std::string& name) const {
    const MenuBar* mb = GetMenuBar(menuBar);
    if (!mb || name.empty()) return UIE_INVALID_MENU;
    for (const auto& m : mb->menus) {
        if (m.name == name) return m.id;
        for (const auto& i : m.items)
            if (i.name == name) return i.id;
    }
    return UIE_INVALID_MENU;
}

void Runtime::Notify(Change what, int panel, int control) {
    frontEnd_.Changed(what, panel, control);
}

// --- panels -----------------------------------------------------------------------------

int Runtime::LoadPanel(int parent, const std::string& file, const std::string& panelName) {
    if (parent != 0 && !FindPanel(parent)) return UIE_INVALID_PANEL;
    LoadedPanels loaded;
    const bool relative = !resourceBase_.empty() && !file.empty() && file[0] != '/';
    const std::string path = relative ? resourceBase_ + "/" + file : file;
    int r = LoadPanelFile(path, panelName, registry_, &loaded, &lastError_);
    if (r < 0) return r;
    lastError_.clear();

    std::vector<int> handles(loaded.panels.size());
    for (auto& h : handles)
        h = nextHandle_++;
    int menuBar = 0;
    if (!loaded.menuBar.menus.empty()) {
        menuBar = nextHandle_++;
        auto mb = std::make_unique<MenuBar>(std::move(loaded.menuBar));
        mb->handle = menuBar;
        mb->panel = handles[0];
        for (auto& m : mb->menus) {
            if (!m.callbackName.empty()) m.callback = *registry_.FindMenu(m.callbackName);
            for (auto& i : m.items)
                if (!i.callbackName.empty()) i.callback = *registry_.FindMenu(i.callbackName);
        }
        menuBars_[menuBar] = std::move(mb);
    }
    for (size_t i = 0; i < loaded.panels.size(); ++i) {
        auto p = std::make_unique<Panel>(std::move(loaded.panels[i]));
        p->handle = handles[i];
        p->parent = p->parent < 0 ? parent : handles[static_cast<size_t>(p->parent)];
        if (i == 0) p->menuBar = menuBar;
        if (!p->callbackName.empty()) p->callback = *registry_.FindPanel(p->callbackName);
        for (auto& c : p->controls) {
            if (!c.callbackName.empty()) c.callback = *registry_.FindControl(c.callbackName);
            for (auto& page : c.pages)
                page = handles[static_cast<size_t>(page)];
        }
        panels_[handles[i]] = std::move(p);
    }
    Notify(Change::PanelLoaded, handles[0], 0);
    return handles[0];
}

int Runtime::DisplayPanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    p->displayed = true;
    Notify(Change::PanelDisplayed, panel, 0);
    return 0;
}

int Runtime::HidePanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    p->displayed = false;
    Notify(Change::PanelDisplayed, panel, 0);
    return 0;
}

int Runtime::DiscardPanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    if (p->pageIndex >= 0) return UIE_INVALID_PANEL;  // pages go with their panel
    Notify(Change::PanelDiscarded, panel, 0);
    // Collect the panel and everything below it.
    std::vector<int> doomed{panel};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (const auto& [h, q] : panels_)
            if (q->parent == doomed[i]) doomed.push_back(h);
    for (int h : doomed) {
        Panel* q = FindPanel(h);
        if (q && q->menuBar) menuBars_.erase(q->menuBar);
        if (activePanel_ == h) activePanel_ = 0;
        panels_.erase(h);
    }
    return 0;
}

int Runtime::GetPanelHandleFromTabPage(int panel, int tabControl, int pageIndex, int* pageHandle) {
    Control* c = FindControl(panel, tabControl);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Tab) return UIE_INVALID_CONTROL;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(c->pages.size()))
        return UIE_INDEX_OUT_OF_RANGE;
    *pageHandle = c->pages[static_cast<size_t>(pageIndex)];
    return 0;
}

int Runtime::SetActiveTabPage(int panel, int tabControl, int pageIndex) {
    Control* c = FindControl(panel, tabControl);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Tab) return UIE_INVALID_CONTROL;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(c->pages.size()))
        return UIE_INDEX_OUT_OF_RANGE;
    c->activePage = pageIndex;
    Notify(Change::Control, panel, tabControl);
    return 0;
}

int Runtime::GetActiveTabPage(int panel, int tabControl, int* pageIndex) {
    Control* c = FindControl(panel, tabControl);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Tab) return UIE_INVALID_CONTROL;
    *pageIndex = c->activePage;
    return 0;
}

int Runtime::GetNumTabPages(int panel, int tabControl, int* count) {
    Control* c = FindControl(panel, tabControl);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Tab) return UIE_INVALID_CONTROL;
    *count = static_cast<int>(c->pages.size());
    return 0;
}

int Runtime::SetPanelAttribute(int panel, int attribute, int value) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    switch (attribute) {
        case ATTR_CHARSET:
            p->charset = value;
            break;
        case ATTR_BACKCOLOR:
            if (!IsColour(value)) return UIE_INVALID_VALUE;
            p->backColor = value;
            break;
        case ATTR_VISIBLE:
            return value ? DisplayPanel(panel) : HidePanel(panel);
        default:
            return UIE_INVALID_ATTRIBUTE;
    }
    Notify(Change::PanelAttribute, panel, 0);
    return 0;
}

int Runtime::SetPanelAttribute(int panel, int attribute, const std::string& value) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    if (attribute != ATTR_TITLE) return UIE_INVALID_ATTRIBUTE;
    p->title = value;
    Notify(Change::PanelAttribute, panel, 0);
    return 0;
}

int Runtime::GetPanelAttribute(int panel, int attribute, int* value) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    switch (attribute) {
        case ATTR_CHARSET:
            *value = p->charset;
            return 0;
        case ATTR_BACKCOLOR:
            *value = p->backColor;
            return 0;
        case ATTR_VISIBLE:
            *value = p->displayed ? 1 : 0;
            return 0;
        default:
            return UIE_INVALID_ATTRIBUTE;
    }
}

int Runtime::GetPanelAttribute(int panel, int attribute, std::string* value) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    if (attribute == ATTR_TITLE) {
        *value = p->title;
        return 0;
    }
    if (attribute == ATTR_CONSTANT_NAME) {
        *value = p->name;
        return 0;
    }
    return UIE_INVALID_ATTRIBUTE;
}

int Runtime::InstallPanelCallback(int panel, PanelCallback callback, void* callbackData) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    p->callback = std::move(callback);
    p->callbackData = callbackData;
    return 0;
}

// --- values -----------------------------------------------------------------------------

int Runtime::SetNumber(Control& c, double value, int panel) {
    c.number = c.kind == Kind::Numeric ? RoundToInt(value) : value;
    Notify(Change::Control, panel, c.id);
    return 0;
}

int Runtime::SetCtrlVal(int panel, int control, int value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (IsNumeric(c->kind)) return SetNumber(*c, value, panel);
    if (IsState(c->kind)) {
        c->state = value ? 1 : 0;
    } else if (IsList(c->kind)) {
        int index = -1;
        for (size_t i = 0; i < c->items.size() && index < 0; ++i)
            if (c->items[i].value == value) index = static_cast<int>(i);
        if (index < 0) return UIE_INVALID_VALUE;
        c->index = index;
    } else {
        return UIE_INVALID_VALUE;
    }
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::SetCtrlVal(int panel, int control, double value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (IsNumeric(c->kind)) return SetNumber(*c, value, panel);
    if (IsState(c->kind) || IsList(c->kind)) return SetCtrlVal(panel, control, RoundToInt(value));
    return UIE_INVALID_VALUE;
}

int Runtime::SetCtrlVal(int panel, int control, const std::string& value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind == Kind::String || c->kind == Kind::TextMsg) {
        c->text = value;
    } else if (c->kind == Kind::Command || c->kind == Kind::Decoration) {
        c->label = value;
    } else {
        return UIE_INVALID_VALUE;
    }
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetCtrlVal(int panel, int control, int* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (IsNumeric(c->kind)) {
        *value = RoundToInt(c->number);
    } else if (IsState(c->kind)) {
        *value = c->state;
    } else if (IsList(c->kind)) {
        if (c->index < 0) return UIE_INDEX_OUT_OF_RANGE;
        *value = c->items[static_cast<size_t>(c->index)].value;
    } else {
        return UIE_INVALID_VALUE;
    }
    return 0;
}

int Runtime::GetCtrlVal(int panel, int control, double* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (IsNumeric(c->kind)) {
        *value = c->number;
        return 0;
    }
    int v = 0;
    int r = GetCtrlVal(panel, control, &v);
    if (r == 0) *value = v;
    return r;
}

int Runtime::GetCtrlVal(int panel, int control, std::string* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind == Kind::String || c->kind == Kind::TextMsg) {
        *value = c->text;
    } else if (c->kind == Kind::Command || c->kind == Kind::Decoration) {
        *value = c->label;
    } else {
        return UIE_INVALID_VALUE;
    }
    return 0;
}

// --- lists ------------------------------------------------------------------------------

int Runtime::SetCtrlIndex(int panel, int control, int index) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return UIE_INDEX_OUT_OF_RANGE;
    c->index = index;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetCtrlIndex(int panel, int control, int* index) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    *index = c->index;
    return 0;
}

int Runtime::InsertListItem(int panel, int control, int index, const std::string& label,
                            int value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    int n = static_cast<int>(c->items.size());
    if (index == -1) index = n;
    if (index < 0 || index > n) return UIE_INDEX_OUT_OF_RANGE;
    c->items.insert(c->items.begin() + index, ListItem{label, value});
    if (c->index < 0)
        c->index = 0;
    else if (index <= c->index && n > 0)
        ++c->index;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::DeleteListItem(int panel, int control, int index, int count) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    int n = static_cast<int>(c->items.size());
    if (index < 0 || index >= n || count < 0) return UIE_INDEX_OUT_OF_RANGE;
    if (count == 0 || index + count > n) count = n - index;  // 0 or too many: to the end
    c->items.erase(c->items.begin() + index, c->items.begin() + index + count);
    n = static_cast<int>(c->items.size());
    if (c->index >= index + count)
        c->index -= count;
    else if (c->index >= index)
        c->index = index < n ? index : n - 1;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::ClearListCtrl(int panel, int control) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    c->items.clear();
    c->index = -1;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetNumListItems(int panel, int control, int* count) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    *count = static_cast<int>(c->items.size());
    return 0;
}

int Runtime::GetValueFromIndex(int panel, int control, int index, int* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return UIE_INDEX_OUT_OF_RANGE;
    *value = c->items[static_cast<size_t>(index)].value;
    return 0;
}

int Runtime::GetLabelFromIndex(int panel, int control, int index, std::string* label) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    if (index < 0 || index >= static_cast<int>(c->items.size())) return UIE_INDEX_OUT_OF_RANGE;
    *label = c->items[static_cast<size_t>(index)].label;
    return 0;
}

int Runtime::GetIndexFromValue(int panel, int control, int value, int* index) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (!IsList(c->kind)) return UIE_INVALID_CONTROL;
    for (size_t i = 0; i < c->items.size(); ++i)
        if (c->items[i].value == value) {
            *index = static_cast<int>(i);
            return 0;
        }
    return UIE_INVALID_VALUE;
}

// --- tables -----------------------------------------------------------------------------

int Runtime::SetTableCellVal(int panel, int control, int row, int column, const CellValue& value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Table) return UIE_INVALID_CONTROL;
    if (row < 1 || row > static_cast<int>(c->rowLabels.size()) || column < 1 ||
        column > static_cast<int>(c->columnLabels.size()))
        return UIE_INDEX_OUT_OF_RANGE;
    c->cells[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)] = value;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetTableCellVal(int panel, int control, int row, int column, CellValue* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Table) return UIE_INVALID_CONTROL;
    if (row < 1 || row > static_cast<int>(c->rowLabels.size()) || column < 1 ||
        column > static_cast<int>(c->columnLabels.size()))
        return UIE_INDEX_OUT_OF_RANGE;
    *value = c->cells[static_cast<size_t>(row - 1)][static_cast<size_t>(column - 1)];
    return 0;
}

int Runtime::TableLabelAt(int panel, int control, bool row, int n, int attribute,
                          std::string** label) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Table) return UIE_INVALID_CONTROL;
    if (attribute != ATTR_LABEL_TEXT) return UIE_INVALID_ATTRIBUTE;
    auto& labels = row ? c->rowLabels : c->columnLabels;
    if (n < 1 || n > static_cast<int>(labels.size())) return UIE_INDEX_OUT_OF_RANGE;
    *label = &labels[static_cast<size_t>(n - 1)];
    return 0;
}

int Runtime::SetTableLabel(int panel, int control, bool row, int n, int attribute,
                           const std::string& value) {
    std::string* label = nullptr;
    int r = TableLabelAt(panel, control, row, n, attribute, &label);
    if (r < 0) return r;
    *label = value;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetTableLabel(int panel, int control, bool row, int n, int attribute,
                           std::string* value) {
    std::string* label = nullptr;
    int r = TableLabelAt(panel, control, row, n, attribute, &label);
    if (r == 0) *value = *label;
    return r;
}

int Runtime::SetTableRowAttribute(int panel, int control, int row, int attribute,
                                  const std::string& value) {
    return SetTableLabel(panel, control, true, row, attribute, value);
}

int Runtime::SetTableColumnAttribute(int panel, int control, int column, int attribute,
                                     const std::string& value) {
    return SetTableLabel(panel, control, false, column, attribute, value);
}

int Runtime::GetTableRowAttribute(int panel, int control, int row, int attribute,
                                  std::string* value) {
    return GetTableLabel(panel, control, true, row, attribute, value);
}

int Runtime::GetTableColumnAttribute(int panel, int control, int column, int attribute,
                                     std::string* value) {
    return GetTableLabel(panel, control, false, column, attribute, value);
}

// --- charts -----------------------------------------------------------------------------

Control* Runtime::FindChart(int panel, int control, int* error) {
    Control* c = FindControl(panel, control);
    if (!c) {
        *error = FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
        return nullptr;
    }
    if (c->kind != Kind::Chart) {
        *error = UIE_INVALID_CONTROL;
        return nullptr;
    }
    return c;
}

int Runtime::ChartAddPoint(int panel, int control, double x, double y) {
    if (!std::isfinite(y)) return ChartAddGap(panel, control, x);
    int error = 0;
    Control* c = FindChart(panel, control, &error);
    if (!c) return error;
    if (!std::isfinite(x) || (!c->points.empty() && x < c->points.back().x))
        return UIE_INVALID_VALUE;
    c->points.push_back(ChartPoint{x, y, false});
    while (static_cast<int>(c->points.size()) > c->capacity)
        c->points.pop_front();
    Notify(Change::ChartAppend, panel, control);
    return 0;
}

int Runtime::ChartAddGap(int panel, int control, double x) {
    int error = 0;
    Control* c = FindChart(panel, control, &error);
    if (!c) return error;
    if (!std::isfinite(x) || (!c->points.empty() && x < c->points.back().x))
        return UIE_INVALID_VALUE;
    if (!c->points.empty() && c->points.back().gap) {
        c->points.back().x = x;
    } else {
        c->points.push_back(ChartPoint{x, std::nan(""), true});
        while (static_cast<int>(c->points.size()) > c->capacity)
            c->points.pop_front();
    }
    Notify(Change::ChartAppend, panel, control);
    return 0;
}

int Runtime::ChartClear(int panel, int control) {
    int error = 0;
    Control* c = FindChart(panel, control, &error);
    if (!c) return error;
    c->points.clear();
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetChartPoints(int panel, int control, std::vector<ChartPoint>* points) {
    int error = 0;
    Control* c = FindChart(panel, control, &error);
    if (!c) return error;
    points->assign(c->points.begin(), c->points.end());
    return 0;
}

int Runtime::GetNumChartPoints(int panel, int control, int* count) {
    int error = 0;
    Control* c = FindChart(panel, control, &error);
    if (!c) return error;
    *count = static_cast<int>(c->points.size());
    return 0;
}

// --- attributes -------------------------------------------------------------------------

int Runtime::SetCtrlAttribute(int panel, int control, int attribute, int value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    Change what = Change::Control;
    switch (attribute) {
        case ATTR_DIMMED:
            c->dimmed = value != 0;
            break;
        case ATTR_VISIBLE:
            c->visible = value != 0;
            break;
        case ATTR_TEXT_COLOR:
            if (!IsColour(value)) return UIE_INVALID_VALUE;
            c->textColor = value;
            break;
        case ATTR_TEXT_BGCOLOR:
            if (!IsColour(value)) return UIE_INVALID_VALUE;
            c->textBgColor = value;
            break;
        case ATTR_FRAME_COLOR:
            if (!IsColour(value)) return UIE_INVALID_VALUE;
            c->frameColor = value;
            break;
        case ATTR_PRECISION:
            if (!IsNumeric(c->kind) && c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
            if (value < 0 || value > 15) return UIE_INVALID_VALUE;
            c->precision = value;
            break;
        case ATTR_CHART_CAPACITY:
            if (c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
            if (value < 1 || value > kChartMaxCapacity) return UIE_INVALID_VALUE;
            c->capacity = value;
            while (static_cast<int>(c->points.size()) > c->capacity)
                c->points.pop_front();
            break;
        case ATTR_CTRL_MODE:
            if (value != VAL_HOT && value != VAL_INDICATOR) return UIE_INVALID_VALUE;
            c->indicator = value == VAL_INDICATOR;
            break;
        case ATTR_ENABLED:
            if (c->kind != Kind::Timer) return UIE_INVALID_ATTRIBUTE;
            c->enabled = value != 0;
            what = Change::Timer;
            break;
        case ATTR_INTERVAL:
        case ATTR_CHART_WINDOW:
            return SetCtrlAttribute(panel, control, attribute, static_cast<double>(value));
        case ATTR_LEFT:
            c->left = value;
            break;
        case ATTR_TOP:
            c->top = value;
            break;
        case ATTR_WIDTH:
            if (value < 0) return UIE_INVALID_VALUE;
            c->width = value;
            break;
        case ATTR_HEIGHT:
            if (value < 0) return UIE_INVALID_VALUE;
            c->height = value;
            break;
        default:
            return UIE_INVALID_ATTRIBUTE;
    }
    Notify(what, panel, control);
    return 0;
}

int Runtime::SetCtrlAttribute(int panel, int control, int attribute, double value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (attribute == ATTR_CHART_WINDOW) {
        if (c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
        if (!std::isfinite(value) || value <= 0.0) return UIE_INVALID_VALUE;
        c->window = value;
        Notify(Change::Control, panel, control);
        return 0;
    }
    if (attribute != ATTR_INTERVAL)
        return SetCtrlAttribute(panel, control, attribute, RoundToInt(value));
    if (c->kind != Kind::Timer) return UIE_INVALID_ATTRIBUTE;
    if (!(value > 0.0)) return UIE_INVALID_VALUE;
    c->interval = value;
    Notify(Change::Timer, panel, control);
    return 0;
}

int Runtime::SetCtrlAttribute(int panel, int control, int attribute, const std::string& value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (attribute != ATTR_LABEL_TEXT) return UIE_INVALID_ATTRIBUTE;
    c->label = value;
    Notify(Change::Control, panel, control);
    return 0;
}

int Runtime::GetCtrlAttribute(int panel, int control, int attribute, int* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    switch (attribute) {
        case ATTR_DIMMED:
            *value = c->dimmed;
            return 0;
        case ATTR_VISIBLE:
            *value = c->visible;
            return 0;
        case ATTR_TEXT_COLOR:
            *value = c->textColor;
            return 0;
        case ATTR_TEXT_BGCOLOR:
            *value = c->textBgColor;
            return 0;
        case ATTR_FRAME_COLOR:
            *value = c->frameColor;
            return 0;
        case ATTR_PRECISION:
            if (!IsNumeric(c->kind) && c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
            *value = c->precision;
            return 0;
        case ATTR_CHART_CAPACITY:
            if (c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
            *value = c->capacity;
            return 0;
        case ATTR_CTRL_MODE:
            *value = c->indicator ? VAL_INDICATOR : VAL_HOT;
            return 0;
        case ATTR_ENABLED:
            if (c->kind != Kind::Timer) return UIE_INVALID_ATTRIBUTE;
            *value = c->enabled;
            return 0;
        case ATTR_LEFT:
            *value = c->left;
            return 0;
        case ATTR_TOP:
            *value = c->top;
            return 0;
        case ATTR_WIDTH:
            *value = c->width;
            return 0;
        case ATTR_HEIGHT:
            *value = c->height;
            return 0;
        default:
            return UIE_INVALID_ATTRIBUTE;
    }
}

int Runtime::GetCtrlAttribute(int panel, int control, int attribute, double* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (attribute == ATTR_INTERVAL) {
        if (c->kind != Kind::Timer) return UIE_INVALID_ATTRIBUTE;
        *value = c->interval;
        return 0;
    }
    if (attribute == ATTR_CHART_WINDOW) {
        if (c->kind != Kind::Chart) return UIE_INVALID_ATTRIBUTE;
        *value = c->window;
        return 0;
    }
    int v = 0;
    int r = GetCtrlAttribute(panel, control, attribute, &v);
    if (r == 0) *value = v;
    return r;
}

int Runtime::GetCtrlAttribute(int panel, int control, int attribute, std::string* value) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    switch (attribute) {
        case ATTR_LABEL_TEXT:
            *value = c->label;
            return 0;
        case ATTR_CONSTANT_NAME:
            *value = c->name;
            return 0;
        case ATTR_CALLBACK_NAME:
            *value = c->callbackName;
            return 0;
        default:
            return UIE_INVALID_ATTRIBUTE;
    }
}

int Runtime::InstallCtrlCallback(int panel, int control, ControlCallback callback,
                                 void* callbackData) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    c->callback = std::move(callback);
    c->callbackData = callbackData;
    return 0;
}

// --- focus ------------------------------------------------------------------------------

bool Runtime::PageShown(int panel) const {
    const Panel* p = GetPanel(panel);
    while (p && p->pageIndex >= 0) {
        const Control* tab = GetControl(p->parent, p->tabControl);
        if (!tab || !tab->visible || tab->activePage != p->pageIndex) return false;
        p = GetPanel(p->parent);
    }
    return p != nullptr;
}

bool Runtime::CanTakeFocus(int panel, int control) const {
    const Control* c = GetControl(panel, control);
    if (!c || c->dimmed || !c->visible || c->indicator || !TakesFocus(c->kind)) return false;
    return PageShown(panel);
}

void Runtime::SetFocus(int panel, int control) {
    int oldPanel = activePanel_;
    const Panel* op = GetPanel(oldPanel);
    int oldCtrl = op ? op->activeCtrl : 0;
    FindPanel(panel)->activeCtrl = control;
    activePanel_ = panel;
    if (oldPanel == panel && oldCtrl == control) return;
    Notify(Change::Focus, panel, control);
    if (oldCtrl && GetControl(oldPanel, oldCtrl))
        Dispatch(oldPanel, oldCtrl, EVENT_LOST_FOCUS, 0, 0);
    if (GetControl(panel, control)) Dispatch(panel, control, EVENT_GOT_FOCUS, 0, 0);
}

int Runtime::SetActiveCtrl(int panel, int control) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    if (!FindControl(panel, control)) return UIE_INVALID_CONTROL;
    if (!CanTakeFocus(panel, control)) return UIE_NOT_FOCUSABLE;
    // Within the window that has the focus the keyboard focus moves at once; another
    // window only remembers its active control for when it becomes active.
    if (activePanel_ == 0 || TopPanel(activePanel_) == TopPanel(panel)) {
        SetFocus(panel, control);
    } else {
        p->activeCtrl = control;
    }
    return 0;
}

int Runtime::GetActiveCtrl(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    return p->activeCtrl;
}

int Runtime::SetActivePanel(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    SetFocus(panel, p->activeCtrl);
    return 0;
}

// --- menus ------------------------------------------------------------------------------

int Runtime::GetPanelMenuBar(int panel) {
    Panel* p = FindPanel(panel);
    if (!p) return UIE_INVALID_PANEL;
    return p->menuBar;
}

int Runtime::SetMenuBarAttribute(int menuBar, int item, int attribute, int value) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    if (attribute == ATTR_DIMMED) {
        (i ? i->dimmed : menu->dimmed) = value != 0;
    } else if (attribute == ATTR_CHECKED && i) {
        i->checked = value != 0;
    } else {
        return UIE_INVALID_ATTRIBUTE;
    }
    Notify(Change::MenuBar, menuBar, item);
    return 0;
}

int Runtime::SetMenuBarAttribute(int menuBar, int item, int attribute, const std::string& value) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    if (attribute != ATTR_ITEM_NAME) return UIE_INVALID_ATTRIBUTE;
    (i ? i->label : menu->label) = value;
    Notify(Change::MenuBar, menuBar, item);
    return 0;
}

int Runtime::GetMenuBarAttribute(int menuBar, int item, int attribute, int* value) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    if (attribute == ATTR_DIMMED) {
        *value = i ? i->dimmed : menu->dimmed;
    } else if (attribute == ATTR_CHECKED && i) {
        *value = i->checked;
    } else {
        return UIE_INVALID_ATTRIBUTE;
    }
    return 0;
}

int Runtime::GetMenuBarAttribute(int menuBar, int item, int attribute, std::string* value) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    if (attribute == ATTR_ITEM_NAME) {
        *value = i ? i->label : menu->label;
    } else if (attribute == ATTR_CONSTANT_NAME) {
        *value = i ? i->name : menu->name;
    } else {
        return UIE_INVALID_ATTRIBUTE;
    }
    return 0;
}

int Runtime::InstallMenuCallback(int menuBar, int item, MenuCallback callback, void* callbackData) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    (i ? i->callback : menu->callback) = std::move(callback);
    (i ? i->callbackData : menu->callbackData) = callbackData;
    return 0;
}

// --- popups, loop, time -------------------------------------------------------------------

int Runtime::MessagePopup(const std::string& title, const std::string& text) {
    frontEnd_.MessagePopup(title, text);
    return 0;
}

int Runtime::ConfirmPopup(const std::string& title, const std::string& text) {
    return frontEnd_.ConfirmPopup(title, text);
}

int Runtime::FileSelectPopup(const FileSelectRequest& request, std::string* path) {
    return frontEnd_.FileSelectPopup(request, path);
}

int Runtime::RunUserInterface() {
    if (looping_) return UIE_LOOP_RUNNING;
    looping_ = true;
    int r = frontEnd_.RunLoop();
    looping_ = false;
    return r;
}

int Runtime::QuitUserInterface(int value) {
    frontEnd_.QuitLoop(value);
    return 0;
}

void Runtime::Delay(double seconds) {
    frontEnd_.BeforeDelay();
    frontEnd_.Clock().Delay(seconds);
}

// --- dispatch and the user side -----------------------------------------------------------

int Runtime::Dispatch(int panel, int control, int event, int data1, int data2) {
    Control* c = FindControl(panel, control);
    if (!c || !c->callback) return 0;
    // A copy: the callback may discard the panel that holds it.
    ControlCallback cb = c->callback;
    return cb(panel, control, event, c->callbackData, data1, data2);
}

int Runtime::DispatchPanel(int panel, int event, int data1, int data2) {
    Panel* p = FindPanel(panel);
    if (!p || !p->callback) return 0;
    PanelCallback cb = p->callback;
    return cb(panel, event, p->callbackData, data1, data2);
}

int Runtime::AcceptUserInput(int panel, int control) {
    if (!FindPanel(panel)) return UIE_INVALID_PANEL;
    if (!FindControl(panel, control)) return UIE_INVALID_CONTROL;
    // The focus is not taken here: the front end reports it when the widget gets it, and an
    // edit committed after a callback moved the focus on must not pull it back.
    return CanTakeFocus(panel, control) ? 0 : UIE_NOT_ACCEPTED;
}

int Runtime::UserSetValue(int panel, int control, double value) {
    Control* c = FindControl(panel, control);
    if (c && !IsNumeric(c->kind)) return UIE_INVALID_CONTROL;
    int r = AcceptUserInput(panel, control);
    if (r < 0) return r;
    c = FindControl(panel, control);
    double old = c->number;
    SetNumber(*c, value, panel);
    if (c->number != old) Dispatch(panel, control, EVENT_VAL_CHANGED, 0, 0);
    return Dispatch(panel, control, EVENT_COMMIT, 0, 0);
}

int Runtime::UserSetText(int panel, int control, const std::string& text) {
    Control* c = FindControl(panel, control);
    if (c && c->kind != Kind::String) return UIE_INVALID_CONTROL;
    int r = AcceptUserInput(panel, control);
    if (r < 0) return r;
    c = FindControl(panel, control);
    bool changed = c->text != text;
    c->text = text;
    Notify(Change::Control, panel, control);
    if (changed) Dispatch(panel, control, EVENT_VAL_CHANGED, 0, 0);
    return Dispatch(panel, control, EVENT_COMMIT, 0, 0);
}

int Runtime::UserSelectIndex(int panel, int control, int index) {
    Control* c = FindControl(panel, control);
    if (c && !IsList(c->kind)) return UIE_INVALID_CONTROL;
    if (c && (index < 0 || index >= static_cast<int>(c->items.size())))
        return UIE_INDEX_OUT_OF_RANGE;
    int r = AcceptUserInput(panel, control);
    if (r < 0) return r;
    c = FindControl(panel, control);
    if (index >= static_cast<int>(c->items.size())) return UIE_INDEX_OUT_OF_RANGE;
    bool changed = c->index != index;
    c->index = index;
    Notify(Change::Control, panel, control);
    if (changed) Dispatch(panel, control, EVENT_VAL_CHANGED, 0, 0);
    return Dispatch(panel, control, EVENT_COMMIT, 0, 0);
}

int Runtime::UserToggle(int panel, int control) {
    Control* c = FindControl(panel, control);
    if (c && c->kind != Kind::RadioButton && c->kind != Kind::Toggle) return UIE_INVALID_CONTROL;
    int r = AcceptUserInput(panel, control);
    if (r < 0) return r;
    c = FindControl(panel, control);
    c->state = c->state ? 0 : 1;
    Notify(Change::Control, panel, control);
    Dispatch(panel, control, EVENT_VAL_CHANGED, 0, 0);
    return Dispatch(panel, control, EVENT_COMMIT, 0, 0);
}

int Runtime::UserPress(int panel, int control) {
    Control* c = FindControl(panel, control);
    if (c && c->kind != Kind::Command) return UIE_INVALID_CONTROL;
    int r = AcceptUserInput(panel, control);
    if (r < 0) return r;
    return Dispatch(panel, control, EVENT_COMMIT, 0, 0);
}

int Runtime::UserSelectTab(int panel, int tabControl, int pageIndex) {
    Control* c = FindControl(panel, tabControl);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Tab) return UIE_INVALID_CONTROL;
    if (c->dimmed || !c->visible || !PageShown(panel)) return UIE_NOT_ACCEPTED;
    if (pageIndex < 0 || pageIndex >= static_cast<int>(c->pages.size()))
        return UIE_INDEX_OUT_OF_RANGE;
    int old = c->activePage;
    if (old == pageIndex) return 0;
    c->activePage = pageIndex;
    Notify(Change::Control, panel, tabControl);
    return Dispatch(panel, tabControl, EVENT_ACTIVE_TAB_CHANGE, old, pageIndex);
}

int Runtime::UserClickUp(int panel, int control) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->dimmed || !c->visible || !PageShown(panel)) return UIE_NOT_ACCEPTED;
    return Dispatch(panel, control, EVENT_LEFT_CLICK_UP, 0, 0);
}

int Runtime::UserFocus(int panel, int control) {
    if (!FindPanel(panel)) return UIE_INVALID_PANEL;
    if (!FindControl(panel, control)) return UIE_INVALID_CONTROL;
    if (!CanTakeFocus(panel, control)) return UIE_NOT_FOCUSABLE;
    SetFocus(panel, control);
    return 0;
}

int Runtime::UserKeyPress(int panel, int control, int key) {
    if (!FindPanel(panel)) return UIE_INVALID_PANEL;
    // The chain is taken first: a callback may discard the panels (the exit key does).
    std::vector<int> chain;
    for (const Panel* p = GetPanel(panel); p; p = GetPanel(p->parent)) {
        chain.push_back(p->handle);
        if (p->parent == 0) break;
    }
    if (control > 0 && FindControl(panel, control)) {
        if (Dispatch(panel, control, EVENT_KEYPRESS, key, 0) != 0) return 1;
    }
    for (int h : chain) {
        if (!FindPanel(h)) return 0;
        if (DispatchPanel(h, EVENT_KEYPRESS, key, 0) != 0) return 1;
    }
    return 0;
}

int Runtime::UserClosePanel(int panel) {
    if (!FindPanel(panel)) return UIE_INVALID_PANEL;
    return DispatchPanel(panel, EVENT_CLOSE, 0, 0);
}

int Runtime::UserMenuSelect(int menuBar, int item) {
    Menu* menu = nullptr;
    MenuItem* i = FindItem(menuBar, item, &menu);
    if (!menu) return UIE_INVALID_MENU;
    if (menu->dimmed || (i && i->dimmed)) return UIE_NOT_ACCEPTED;
    if (!i && !menu->items.empty()) return UIE_NOT_ACCEPTED;  // a menu that only opens
    MenuCallback cb = i ? i->callback : menu->callback;
    void* data = i ? i->callbackData : menu->callbackData;
    int panel = GetMenuBar(menuBar)->panel;
    return cb ? cb(menuBar, item, data, panel) : 0;
}

int Runtime::TimerTick(int panel, int control) {
    Control* c = FindControl(panel, control);
    if (!c) return FindPanel(panel) ? UIE_INVALID_CONTROL : UIE_INVALID_PANEL;
    if (c->kind != Kind::Timer) return UIE_INVALID_CONTROL;
    if (!c->enabled) return 0;
    return Dispatch(panel, control, EVENT_TIMER_TICK, 0, 0);
}

}  // namespace ui
