#include "platform/qt/panel_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
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
    if (withMenuBar) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        layout->setMenuBar(menuBar_);
    }
    // The canvas keeps the panel's size whatever the window's: controls stay where the
    // resource puts them, and a smaller window scrolls.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    canvas_ = new QWidget;
    canvas_->setFixedSize(std::max(1, width), std::max(1, height));
    scroll_->setWidget(canvas_);
    // Keys and focus stay with the panel's controls; the area only follows the focus.
    scroll_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(scroll_);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && canvas_->isAncestorOf(now)) scroll_->ensureWidgetVisible(now);
    });
}

QSize PanelWindow::FullSize() const {
    QSize size = canvas_->size();
    if (menuBar_) size.rheight() += menuBar_->sizeHint().height();
    return size;
}

void PanelWindow::FitInto(const QRect& available) {
    const QSize full = FullSize();
    const QSize room = available.size() - kFrameAllowance;
    QSize size = full.boundedTo(room);
    // Without this room a cut height would bring a horizontal scroll bar as well, and so on.
    if (size.height() < full.height())
        size.setWidth(std::min(size.width() + scroll_->verticalScrollBar()->sizeHint().width(),
                               room.width()));
    if (size.width() < full.width())
        size.setHeight(std::min(size.height() + scroll_->horizontalScrollBar()->sizeHint().height(),
                                room.height()));
    resize(size.expandedTo(minimumSizeHint()));
}

QPoint PanelWindow::CentredIn(const QRect& available) const {
    const QSize framed = size() + kFrameAllowance;
    return available.topLeft() + QPoint(std::max(0, (available.width() - framed.width()) / 2),
                                        std::max(0, (available.height() - framed.height()) / 2));
}

void PanelWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onClose_) onClose_();
}

}  // namespace qtfe
