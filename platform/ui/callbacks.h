#pragma once
// Callback shapes and the registry through which resource files bind callbacks by name.

#include <functional>
#include <map>
#include <string>

namespace ui {

// (panel, control, event, callback data, event data 1, event data 2) -> int.
// For EVENT_KEYPRESS a non-zero result swallows the key: the panel callbacks do not see it.
using ControlCallback = std::function<int(int, int, int, void*, int, int)>;
// (panel, event, callback data, event data 1, event data 2) -> int.
using PanelCallback = std::function<int(int, int, void*, int, int)>;
// (menu bar, menu item, callback data, panel) -> int.
using MenuCallback = std::function<int(int, int, void*, int)>;

// Each program fills one registry with its callbacks under the names its panel resources use.
class CallbackRegistry {
  public:
    void AddControl(const std::string& name, ControlCallback cb) {
        controls_[name] = std::move(cb);
    }
    void AddPanel(const std::string& name, PanelCallback cb) { panels_[name] = std::move(cb); }
    void AddMenu(const std::string& name, MenuCallback cb) { menus_[name] = std::move(cb); }

    // nullptr when the name is not registered.
    const ControlCallback* FindControl(const std::string& name) const {
        return Find(controls_, name);
    }
    const PanelCallback* FindPanel(const std::string& name) const { return Find(panels_, name); }
    const MenuCallback* FindMenu(const std::string& name) const { return Find(menus_, name); }

  private:
    template <class M>
    static const typename M::mapped_type* Find(const M& m, const std::string& name) {
        auto it = m.find(name);
        return it == m.end() ? nullptr : &it->second;
    }
    std::map<std::string, ControlCallback> controls_;
    std::map<std::string, PanelCallback> panels_;
    std::map<std::string, MenuCallback> menus_;
};

}  // namespace ui
