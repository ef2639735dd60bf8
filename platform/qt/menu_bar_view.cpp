#include "platform/qt/menu_bar_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/text_codec.h"

namespace qtfe {

namespace {

void SyncAction(QAction* action, const std::string& label, bool dimmed, int charset) {
    if (!action) return;
    action->setText(MnemonicCaption(DecodeText(label, charset)));
    action->setEnabled(!dimmed);
}

}  // namespace

MenuBarView BuildMenuBar(const ui::MenuBar& model, QMenuBar* bar, QObject* context,
                         const std::function<void(int)>& onSelect) {
    MenuBarView view;
    view.panel = model.panel;
    for (const auto& menu : model.menus) {
        const int menuId = menu.id;
        if (menu.items.empty()) {
            QAction* command = bar->addAction(QString());
            QObject::connect(command, &QAction::triggered, context,
                             [onSelect, menuId] { onSelect(menuId); });
            view.actions[menuId] = command;
            continue;
        }
        QMenu* qmenu = bar->addMenu(QString());
        view.actions[menuId] = qmenu->menuAction();
        for (const auto& item : menu.items) {
            const int itemId = item.id;
            QAction* action = qmenu->addAction(QString());
            QObject::connect(action, &QAction::triggered, context,
                             [onSelect, itemId] { onSelect(itemId); });
            view.actions[itemId] = action;
        }
    }
    return view;
}

void SyncMenuBar(const MenuBarView& view, const ui::MenuBar& model, int item, int charset) {
    auto find = [&view](int id) -> QAction* {
        auto it = view.actions.find(id);
        return it == view.actions.end() ? nullptr : it->second.data();
    };
    for (const auto& menu : model.menus) {
        if (item == 0 || item == menu.id)
            SyncAction(find(menu.id), menu.label, menu.dimmed, charset);
        for (const auto& entry : menu.items) {
            if (item != 0 && item != entry.id) continue;
            QAction* action = find(entry.id);
            SyncAction(action, entry.label, entry.dimmed, charset);
            if (!action) continue;
            // Only checked items are checkable, so unchecked ones show no empty box.
            action->setCheckable(entry.checked);
            action->setChecked(entry.checked);
        }
    }
}

}  // namespace qtfe
