#pragma once
// A panel's menu bar as a QMenuBar: one QMenu per menu with items, one bar action per menu
// without (a command on the bar itself).

#include <QPointer>

#include <functional>
#include <map>

#include "platform/ui/model.h"

class QAction;
class QMenuBar;
class QObject;

namespace qtfe {

struct MenuBarView {
    int panel = 0;
    std::map<int, QPointer<QAction>> actions;  // by menu or item id; a menu's is its menuAction
};

// Fills `bar` from the model; `onSelect(id)` runs (with `context` alive) when the user picks an
// item or a bar command.
MenuBarView BuildMenuBar(const ui::MenuBar& model, QMenuBar* bar, QObject* context,
                         const std::function<void(int)>& onSelect);

// Captions, check marks and dimming of one menu or item (`item` 0: all of them).
void SyncMenuBar(const MenuBarView& view, const ui::MenuBar& model, int item, int charset);

}  // namespace qtfe
