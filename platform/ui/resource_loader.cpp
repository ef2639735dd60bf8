#include "platform/ui/resource_loader.h"

#include <climits>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

namespace ui {

namespace {

using Json = nlohmann::json;

struct KindEntry {
    const char* name;
    Kind kind;
};
constexpr KindEntry kKinds[] = {
    {"numeric", Kind::Numeric},   {"real", Kind::Real},
    {"string", Kind::String},     {"textmsg", Kind::TextMsg},
    {"ring", Kind::Ring},         {"listbox", Kind::ListBox},
    {"radio", Kind::RadioButton}, {"toggle", Kind::Toggle},
    {"command", Kind::Command},   {"led", Kind::Led},
    {"table", Kind::Table},       {"timer", Kind::Timer},
    {"tab", Kind::Tab},           {"decoration", Kind::Decoration},
    {"chart", Kind::Chart},
};

// An integer JSON number that an int holds without wrapping.
bool FitsInt(const Json& v) {
    if (v.is_number_unsigned()) return v.get<unsigned long long>() <= INT_MAX;
    return v.get<long long>() >= INT_MIN && v.get<long long>() <= INT_MAX;
}

// Walks one JSON document; the first error stops everything and is kept with its place.
class Reader {
  public:
    Reader(const std::string& file, const CallbackRegistry& registry)
        : file_(file), registry_(registry) {}

    int Fail(const std::string& place, const std::string& message, int code = UIE_RESOURCE) {
        if (code_ == 0) {
            error_ = file_ + ": " + (place.empty() ? "" : place + ": ") + message;
            code_ = code;
        }
        return code_;
    }
    bool Failed() const { return code_ != 0; }
    int Code() const { return code_; }
    const std::string& Error() const { return error_; }

    void ReadTop(const Json& doc, const std::string& panelName, LoadedPanels* out) {
        if (!doc.is_object() || !doc.contains("panels") || !doc["panels"].is_array()) {
            Fail("", "the top level must be an object with a \"panels\" array");
            return;
        }
        const Json& panels = doc["panels"];
        for (size_t i = 0; i < panels.size(); ++i) {
            const Json& p = panels[i];
            if (p.is_object() && p.contains("name") && p["name"].is_string() &&
                p["name"].get<std::string>() == panelName) {
                ReadPanel(p, "panels[" + std::to_string(i) + "] \"" + panelName + "\"", -1, true,
                          out);
                return;
            }
        }
        Fail("", "no panel named \"" + panelName + "\"");
    }

  private:
    static std::string Quoted(const Json& obj) {
        if (obj.is_object() && obj.contains("name") && obj["name"].is_string())
            return " \"" + obj["name"].get<std::string>() + "\"";
        return "";
    }

    bool CheckKeys(const Json& obj, const std::string& place,
                   std::initializer_list<const char*> keys) {
        if (!obj.is_object()) {
            Fail(place, "must be an object");
            return false;
        }
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool known = false;
            for (const char* k : keys)
                known = known || it.key() == k;
            if (!known) {
                Fail(place, "unknown key \"" + it.key() + "\"");
                return false;
            }
        }
        return true;
    }

    void Str(const Json& obj, const char* key, const std::string& place, std::string* out) {
        if (Failed() || !obj.contains(key)) return;
        if (!obj[key].is_string()) {
            Fail(place, std::string("\"") + key + "\" must be a text");
            return;
        }
        *out = obj[key].get<std::string>();
    }
    void Int(const Json& obj, const char* key, const std::string& place, int* out) {
        if (Failed() || !obj.contains(key)) return;
        const Json& v = obj[key];
        if (!v.is_number_integer()) {
            Fail(place, std::string("\"") + key + "\" must be an integer");
            return;
        }
        // A larger number would wrap into some other int (4294967297 into 1) unnoticed.
        if (!FitsInt(v)) {
            Fail(place, std::string("\"") + key + "\" is out of range");
            return;
        }
        *out = v.get<int>();
    }
    void Num(const Json& obj, const char* key, const std::string& place, double* out) {
        if (Failed() || !obj.contains(key)) return;
        if (!obj[key].is_number()) {
            Fail(place, std::string("\"") + key + "\" must be a number");
            return;
        }
        *out = obj[key].get<double>();
    }
    void Bool(const Json& obj, const char* key, const std::string& place, bool* out) {
        if (Failed() || !obj.contains(key)) return;
        if (!obj[key].is_boolean()) {
            Fail(place, std::string("\"") + key + "\" must be true or false");
            return;
        }
        *out = obj[key].get<bool>();
    }
    void Colour(const Json& obj, const char* key, const std::string& place, int* out) {
        if (Failed() || !obj.contains(key)) return;
        const Json& v = obj[key];
        if (v.is_number_integer() && v.get<long long>() >= 0 && v.get<long long>() <= 0xFFFFFF) {
            *out = v.get<int>();
            return;
        }
        if (v.is_string()) {
            std::string s = v.get<std::string>();
            std::string digits;
            if (s.size() == 7 && s[0] == '#') digits = s.substr(1);
            if (s.size() == 8 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) digits = s.substr(2);
            if (digits.size() == 6 &&
                digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
                *out = std::stoi(digits, nullptr, 16);
                return;
            }
        }
        Fail(place, std::string("\"") + key + "\" must be an RGB colour such as \"#FF0000\"");
    }
    void Callback(const Json& obj, const std::string& place, char what, std::string* name) {
        Str(obj, "callback", place, name);
        if (Failed() || name->empty()) return;
        bool found = (what == 'c' && registry_.FindControl(*name)) ||
                     (what == 'p' && registry_.FindPanel(*name)) ||
                     (what == 'm' && registry_.FindMenu(*name));
        const char* kind = what == 'c' ? "control" : what == 'p' ? "panel" : "menu";
        if (!found)
            Fail(place, std::string("unknown ") + kind + " callback \"" + *name + "\"",
                 UIE_UNKNOWN_CALLBACK);
    }

    // Gives ids to the entries without one, skipping the ids that are given.
    template <class T>
    void NumberIds(std::vector<T*>& entries, std::vector<bool>& explicitId) {
        std::set<int> used;
        for (size_t i = 0; i < entries.size(); ++i)
            if (explicitId[i]) used.insert(entries[i]->id);
        int next = 1;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (explicitId[i]) continue;
            while (used.count(next))
                ++next;
            entries[i]->id = next++;
        }
    }

    void ReadPanel(const Json& p, const std::string& place, int parent, bool top,
                   LoadedPanels* out) {
        if (!CheckKeys(p, place,
                       {"name", "title", "left", "top", "width", "height", "charset", "backcolor",
                        "callback", "menubar", "controls"}))
            return;
        Panel panel;
        panel.handle = static_cast<int>(out->panels.size());
        panel.parent = parent;
        panel.sourceFile = file_;
        Str(p, "name", place, &panel.name);
        Str(p, "title", place, &panel.title);
        Int(p, "left", place, &panel.left);
        Int(p, "top", place, &panel.top);
        Int(p, "width", place, &panel.width);
        Int(p, "height", place, &panel.height);
        Int(p, "charset", place, &panel.charset);
        Colour(p, "backcolor", place, &panel.backColor);
        Callback(p, place, 'p', &panel.callbackName);
        if (Failed()) return;
        if (p.contains("menubar")) {
            if (!top) {
                Fail(place, "a tab page cannot have a menu bar");
                return;
            }
            ReadMenuBar(p["menubar"], place + " > menubar", &out->menuBar);
            if (Failed()) return;
        }
        out->panels.push_back(panel);
        const size_t self = out->panels.size() - 1;
        if (!p.contains("controls")) return;
        if (!p["controls"].is_array()) {
            Fail(place, "\"controls\" must be an array");
            return;
        }
        const Json& list = p["controls"];
        std::vector<Control> controls(list.size());
        std::vector<bool> explicitId(list.size(), false);
        std::set<int> ids;
        std::set<std::string> names;
        // Pages are read after the panel's own controls so their indices follow it.
        std::vector<std::pair<size_t, std::string>> tabs;
        for (size_t i = 0; i < list.size() && !Failed(); ++i) {
            std::string cplace = place + " > controls[" + std::to_string(i) + "]" + Quoted(list[i]);
            ReadControl(list[i], cplace, &controls[i]);
            if (Failed()) return;
            if (list[i].contains("id")) {
                explicitId[i] = true;
                if (controls[i].id <= 0) return (void)Fail(cplace, "\"id\" must be positive");
                if (!ids.insert(controls[i].id).second)
                    return (void)Fail(cplace,
                                      "duplicate control id " + std::to_string(controls[i].id));
            }
            if (!controls[i].name.empty() && !names.insert(controls[i].name).second)
                return (void)Fail(cplace, "duplicate control name \"" + controls[i].name + "\"");
            if (controls[i].kind == Kind::Tab) tabs.emplace_back(i, cplace);
        }
        std::vector<Control*> ptrs;
        for (auto& c : controls)
            ptrs.push_back(&c);
        NumberIds(ptrs, explicitId);
        out->panels[self].controls = controls;
        for (auto& [i, cplace] : tabs) {
            const Json& pages = list[i]["pages"];
            std::vector<int> pageIndices;
            for (size_t k = 0; k < pages.size() && !Failed(); ++k) {
                int pageIndex = static_cast<int>(out->panels.size());
                ReadPanel(pages[k],
                          cplace + " > pages[" + std::to_string(k) + "]" + Quoted(pages[k]),
                          static_cast<int>(self), false, out);
                if (Failed()) return;
                out->panels[static_cast<size_t>(pageIndex)].tabControl =
                    out->panels[self].controls[i].id;
                out->panels[static_cast<size_t>(pageIndex)].pageIndex = static_cast<int>(k);
                pageIndices.push_back(pageIndex);
            }
            Control& tab = out->panels[self].controls[i];
            tab.pages = pageIndices;
            if (tab.activePage < 0 || tab.activePage >= static_cast<int>(pageIndices.size()))
                return (void)Fail(cplace, "\"active_page\" is not one of the pages");
        }
    }

    void ReadControl(const Json& c, const std::string& place, Control* out) {
        if (!CheckKeys(
                c, place,
                {"kind",        "id",          "name",      "label",    "left",      "top",
                 "width",       "height",      "dimmed",    "visible",  "indicator", "text_color",
                 "bg_color",    "frame_color", "precision", "value",    "items",     "index",
                 "rows",        "columns",     "cells",     "interval", "enabled",   "pages",
                 "active_page", "callback",    "window",    "capacity"}))
            return;
        std::string kind;
        Str(c, "kind", place, &kind);
        if (Failed()) return;
        bool known = false;
        for (const auto& k : kKinds)
            if (kind == k.name) out->kind = k.kind, known = true;
        if (!known) return (void)Fail(place, "unknown kind \"" + kind + "\"");
        Int(c, "id", place, &out->id);
        Str(c, "name", place, &out->name);
        Str(c, "label", place, &out->label);
        Int(c, "left", place, &out->left);
        Int(c, "top", place, &out->top);
        Int(c, "width", place, &out->width);
        Int(c, "height", place, &out->height);
        Bool(c, "dimmed", place, &out->dimmed);
        Bool(c, "visible", place, &out->visible);
        Bool(c, "indicator", place, &out->indicator);
        Colour(c, "text_color", place, &out->textColor);
        Colour(c, "bg_color", place, &out->textBgColor);
        Colour(c, "frame_color", place, &out->frameColor);
        Int(c, "precision", place, &out->precision);
        Num(c, "interval", place, &out->interval);
        Bool(c, "enabled", place, &out->enabled);
        Int(c, "active_page", place, &out->activePage);
        Callback(c, place, 'c', &out->callbackName);
        if (Failed()) return;
        if (out->precision < 0 || out->precision > 15)
            return (void)Fail(place, "\"precision\" must be 0..15");
        if (out->kind == Kind::Timer && out->interval <= 0.0)
            return (void)Fail(place, "\"interval\" must be above 0");
        ReadChart(c, place, out);
        ReadValue(c, place, out);
        ReadItems(c, place, out);
        ReadTable(c, place, out);
        if (Failed()) return;
        bool isTab = out->kind == Kind::Tab;
        if (isTab != c.contains("pages"))
            return (void)Fail(place, isTab ? "a tab control needs \"pages\""
                                           : "\"pages\" belongs to tab controls");
        if (isTab && (!c["pages"].is_array() || c["pages"].empty()))
            return (void)Fail(place, "\"pages\" must be a non-empty array");
    }

    void ReadChart(const Json& c, const std::string& place, Control* out) {
        if (Failed()) return;
        if (out->kind != Kind::Chart) {
            if (c.contains("window") || c.contains("capacity"))
                Fail(place, "\"window\" and \"capacity\" belong to charts");
            return;
        }
        Num(c, "window", place, &out->window);
        Int(c, "capacity", place, &out->capacity);
        if (Failed()) return;
        if (!std::isfinite(out->window) || out->window <= 0.0)
            return (void)Fail(place, "\"window\" must be above 0 seconds");
        if (out->capacity < 1 || out->capacity > kChartMaxCapacity)
            Fail(place, "\"capacity\" must be 1.." + std::to_string(kChartMaxCapacity));
    }

    void ReadValue(const Json& c, const std::string& place, Control* out) {
        if (Failed() || !c.contains("value")) return;
        const Json& v = c["value"];
        switch (out->kind) {
            case Kind::Numeric:
            case Kind::Real:
                if (!v.is_number()) return (void)Fail(place, "\"value\" must be a number");
                out->number = v.get<double>();
                break;
            case Kind::String:
            case Kind::TextMsg:
                if (!v.is_string()) return (void)Fail(place, "\"value\" must be a text");
                out->text = v.get<std::string>();
                break;
            case Kind::RadioButton:
            case Kind::Toggle:
            case Kind::Led:
                if (!v.is_number_integer() || (v.get<long long>() != 0 && v.get<long long>() != 1))
                    return (void)Fail(place, "\"value\" must be 0 or 1");
                out->state = v.get<int>();
                break;
            default:
                Fail(place, std::string("a ") + KindName(out->kind) + " control has no \"value\"");
        }
    }

    void ReadItems(const Json& c, const std::string& place, Control* out) {
        bool isList = out->kind == Kind::Ring || out->kind == Kind::ListBox;
        if (Failed()) return;
        if (!isList) {
            if (c.contains("items") || c.contains("index"))
                Fail(place, "\"items\" and \"index\" belong to rings and list boxes");
            return;
        }
        if (c.contains("items")) {
            if (!c["items"].is_array()) return (void)Fail(place, "\"items\" must be an array");
            const Json& items = c["items"];
            for (size_t i = 0; i < items.size(); ++i) {
                std::string iplace = place + " > items[" + std::to_string(i) + "]";
                ListItem item;
                item.value = static_cast<int>(i);
                if (items[i].is_string()) {
                    item.label = items[i].get<std::string>();
                } else {
                    if (!CheckKeys(items[i], iplace, {"label", "value"})) return;
                    Str(items[i], "label", iplace, &item.label);
                    Int(items[i], "value", iplace, &item.value);
                    if (Failed()) return;
                }
                out->items.push_back(item);
            }
        }
        out->index = out->items.empty() ? -1 : 0;
        Int(c, "index", place, &out->index);
        if (!Failed() && !out->items.empty() &&
            (out->index < 0 || out->index >= static_cast<int>(out->items.size())))
            Fail(place, "\"index\" is not one of the items");
    }

    static bool ReadCell(const Json& v, CellValue* out) {
        // An integer too large for an int keeps its value as a real number.
        if (v.is_number_integer() && FitsInt(v))
            *out = v.get<int>();
        else if (v.is_number())
            *out = v.get<double>();
        else if (v.is_string())
            *out = v.get<std::string>();
        else
            return false;
        return true;
    }

    void ReadTable(const Json& c, const std::string& place, Control* out) {
        if (Failed()) return;
        bool isTable = out->kind == Kind::Table;
        if (!isTable) {
            if (c.contains("rows") || c.contains("columns") || c.contains("cells"))
                Fail(place, "\"rows\", \"columns\" and \"cells\" belong to tables");
            return;
        }
        auto labels = [&](const char* key, std::vector<std::string>* dst) {
            if (Failed() || !c.contains(key)) return;
            if (!c[key].is_array())
                return (void)Fail(place, std::string("\"") + key + "\" must be an array of texts");
            for (const Json& s : c[key]) {
                if (!s.is_string())
                    return (void)Fail(place,
                                      std::string("\"") + key + "\" must be an array of texts");
                dst->push_back(s.get<std::string>());
            }
        };
        labels("rows", &out->rowLabels);
        labels("columns", &out->columnLabels);
        if (Failed()) return;
        if (out->rowLabels.empty() || out->columnLabels.empty())
            return (void)Fail(place, "a table needs \"rows\" and \"columns\"");
        out->cells.assign(out->rowLabels.size(),
                          std::vector<CellValue>(out->columnLabels.size(), std::string()));
        if (!c.contains("cells")) return;
        const Json& cells = c["cells"];
        if (!cells.is_array() || cells.size() > out->rowLabels.size())
            return (void)Fail(place, "\"cells\" must be an array of at most one row per row label");
        for (size_t r = 0; r < cells.size(); ++r) {
            if (!cells[r].is_array() || cells[r].size() > out->columnLabels.size())
                return (void)Fail(place + " > cells[" + std::to_string(r) + "]",
                                  "too many cells or not an array");
            for (size_t k = 0; k < cells[r].size(); ++k)
                if (!ReadCell(cells[r][k], &out->cells[r][k]))
                    return (void)Fail(
                        place + " > cells[" + std::to_string(r) + "][" + std::to_string(k) + "]",
                        "a cell is a number or a text");
        }
    }

    void ReadMenuBar(const Json& m, const std::string& place, MenuBar* out) {
        if (!CheckKeys(m, place, {"menus"})) return;
        if (!m.contains("menus") || !m["menus"].is_array())
            return (void)Fail(place, "\"menus\" must be an array");
        const Json& menus = m["menus"];
        out->menus.resize(menus.size());
        // Menus and items share one id space within the bar.
        std::vector<int*> ids;
        std::vector<bool> explicitId;
        std::set<int> seen;
        std::set<std::string> names;
        auto noteId = [&](const Json& obj, int* id, const std::string& name,
                          const std::string& where) {
            ids.push_back(id);
            explicitId.push_back(obj.contains("id"));
            if (obj.contains("id") && (*id <= 0 || !seen.insert(*id).second))
                return (void)Fail(where, "menu ids must be positive and unique");
            if (!name.empty() && !names.insert(name).second)
                Fail(where, "duplicate menu name \"" + name + "\"");
        };
        for (size_t i = 0; i < menus.size() && !Failed(); ++i) {
            std::string mplace = place + " > menus[" + std::to_string(i) + "]" + Quoted(menus[i]);
            if (!CheckKeys(menus[i], mplace,
                           {"id", "name", "label", "dimmed", "callback", "items"}))
                return;
            Menu& menu = out->menus[i];
            Int(menus[i], "id", mplace, &menu.id);
            Str(menus[i], "name", mplace, &menu.name);
            Str(menus[i], "label", mplace, &menu.label);
            Bool(menus[i], "dimmed", mplace, &menu.dimmed);
            Callback(menus[i], mplace, 'm', &menu.callbackName);
            if (Failed()) return;
            noteId(menus[i], &menu.id, menu.name, mplace);
            if (!menus[i].contains("items")) continue;
            const Json& items = menus[i]["items"];
            if (!items.is_array()) return (void)Fail(mplace, "\"items\" must be an array");
            menu.items.resize(items.size());
            for (size_t k = 0; k < items.size() && !Failed(); ++k) {
                std::string iplace =
                    mplace + " > items[" + std::to_string(k) + "]" + Quoted(items[k]);
                if (!CheckKeys(items[k], iplace,
                               {"id", "name", "label", "checked", "dimmed", "callback"}))
                    return;
                MenuItem& item = menu.items[k];
                Int(items[k], "id", iplace, &item.id);
                Str(items[k], "name", iplace, &item.name);
                Str(items[k], "label", iplace, &item.label);
                Bool(items[k], "checked", iplace, &item.checked);
                Bool(items[k], "dimmed", iplace, &item.dimmed);
                Callback(items[k], iplace, 'm', &item.callbackName);
                if (Failed()) return;
                noteId(items[k], &item.id, item.name, iplace);
            }
        }
        if (Failed()) return;
        std::set<int> used;
        for (size_t i = 0; i < ids.size(); ++i)
            if (explicitId[i]) used.insert(*ids[i]);
        int next = 1;
        for (size_t i = 0; i < ids.size(); ++i) {
            if (explicitId[i]) continue;
            while (used.count(next))
                ++next;
            *ids[i] = next++;
        }
    }

    std::string file_;
    const CallbackRegistry& registry_;
    int code_ = 0;
    std::string error_;
};

// Line and column (from 1) of a byte offset, for syntax errors.
std::string Where(const std::string& text, size_t byte) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < text.size() && i + 1 < byte; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

}  // namespace

const char* KindName(Kind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.name;
    return "?";
}

int ParsePanelText(const std::string& text, const std::string& file, const std::string& panelName,
                   const CallbackRegistry& registry, LoadedPanels* out, std::string* error) {
    Json doc;
    try {
        doc = Json::parse(text);
    } catch (const Json::parse_error& e) {
        std::string what = e.what();
        // nlohmann prefixes "[json.exception.parse_error.101] parse error at line L, column C: ".
        size_t colon = what.find(": ");
        *error = file + ":" + Where(text, e.byte) + ": JSON syntax error" +
                 (colon == std::string::npos ? "" : what.substr(colon));
        return UIE_RESOURCE;
    } catch (const Json::exception& e) {
        // A number too large for a double (1e999) is out_of_range, not a parse_error; it must
        // not escape the loader either.
        std::string what = e.what();
        size_t bracket = what.find("] ");
        *error = file + ": JSON error: " +
                 (bracket == std::string::npos ? what : what.substr(bracket + 2));
        return UIE_RESOURCE;
    }
    LoadedPanels loaded;
    Reader reader(file, registry);
    reader.ReadTop(doc, panelName, &loaded);
    if (reader.Failed()) {
        *error = reader.Error();
        return reader.Code();
    }
    *out = std::move(loaded);
    return 0;
}

int LoadPanelFile(const std::string& file, const std::string& panelName,
                  const CallbackRegistry& registry, LoadedPanels* out, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        *error = file + ": cannot open the panel resource file";
        return UIE_RESOURCE;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParsePanelText(text.str(), file, panelName, registry, out, error);
}

}  // namespace ui
