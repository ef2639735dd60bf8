#include "platform/qt/led_widget.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace qtfe {

LedWidget::LedWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void LedWidget::SetLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void LedWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int d = std::max(4, std::min(width(), height()) - 2);
    const QRectF lamp((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    QColor colour = lit_ ? QColor(0x20, 0xE0, 0x20) : QColor(0x2E, 0x4A, 0x2E);
    if (!isEnabled()) colour = lit_ ? QColor(0xA0, 0xC0, 0xA0) : QColor(0x90, 0x90, 0x90);
    QRadialGradient shine(lamp.center() - QPointF(d / 6.0, d / 6.0), d / 1.6);
    shine.setColorAt(0.0, colour.lighter(170));
    shine.setColorAt(1.0, colour);
    painter.setBrush(shine);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.0));
    painter.drawEllipse(lamp);
}

}  // namespace qtfe
