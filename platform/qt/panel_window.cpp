#include "platform/qt/panel_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace qtfe {

PanelWindow::PanelWindow(int width, int height, bool withMenuBar)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The window is as large as the panel (plus its menu bar) and no larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (withMenuBar) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        layout->setMenuBar(menuBar_);
    }
    canvas_ = new QWidget(this);
    canvas_->setFixedSize(std::max(1, width), std::max(1, height));
    layout->addWidget(canvas_);
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onClose_) onClose_();
}

}  // namespace qtfe
