#include "platform/qt/control_widgets.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/qt/chart_view.h"
#include "platform/qt/led_widget.h"
#include "platform/qt/text_codec.h"

namespace qtfe {

namespace {

using ui::Kind;

constexpr int kLabelHeight = 16;
constexpr int kLabelGap = 2;
// Real numerics never clamp in the model; the widget only needs room for any sensible value.
constexpr double kRealLimit = 1e15;
constexpr const char* kFocusPolicy = "suiteFocusPolicy";

int ToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(std::lround(v));
}

// Colours apply to the active and inactive states; dimmed controls keep the style's greys.
void SetColours(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, int rgb) {
    const QColor colour(static_cast<QRgb>(rgb));
    QPalette p = w->palette();
    bool changed = false;
    for (QPalette::ColorRole role : roles) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            if (p.color(group, role) == colour) continue;
            p.setColor(group, role, colour);
            changed = true;
        }
    }
    if (changed) w->setPalette(p);
}

bool HasOwnLabel(Kind kind) {
    switch (kind) {
        case Kind::Numeric:
        case Kind::Real:
        case Kind::String:
        case Kind::Ring:
        case Kind::ListBox:
        case Kind::Table:
        case Kind::Led:
            return true;
        default:
            return false;
    }
}

QWidget* CreateWidget(Kind kind, QWidget* canvas) {
    switch (kind) {
        case Kind::Numeric: {
            auto* s = new QSpinBox(canvas);
            s->setRange(INT_MIN, INT_MAX);  // ranges are the modules' business
            s->setKeyboardTracking(false);  // valueChanged only on steps and finished edits
            s->setLocale(QLocale::c());
            s->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return s;
        }
        case Kind::Real: {
            auto* s = new QDoubleSpinBox(canvas);
            s->setRange(-kRealLimit, kRealLimit);
            s->setKeyboardTracking(false);
            s->setLocale(QLocale::c());
            s->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            return s;
        }
        case Kind::String:
            return new QLineEdit(canvas);
        case Kind::TextMsg: {
            auto* l = new QLabel(canvas);
            l->setFocusPolicy(Qt::NoFocus);
            return l;
        }
        case Kind::Ring:
            return new QComboBox(canvas);
        case Kind::ListBox: {
            auto* l = new QListWidget(canvas);
            l->setSelectionMode(QAbstractItemView::SingleSelection);
            return l;
        }
        case Kind::RadioButton: {
            auto* r = new QRadioButton(canvas);
            r->setAutoExclusive(false);  // the program keeps its radio groups exclusive
            return r;
        }
        case Kind::Toggle: {
            auto* b = new QPushButton(canvas);
            b->setCheckable(true);
            b->setAutoDefault(false);
            return b;
        }
        case Kind::Command: {
            auto* b = new QPushButton(canvas);
            b->setAutoDefault(false);
            return b;
        }
        case Kind::Led:
            return new LedWidget(canvas);
        case Kind::Table: {
            auto* t = new QTableWidget(canvas);
            t->setEditTriggers(QAbstractItemView::NoEditTriggers);
            t->setSelectionMode(QAbstractItemView::SingleSelection);
            t->horizontalHeader()->setStretchLastSection(true);
            return t;
        }
        case Kind::Tab: {
            auto* t = new QTabWidget(canvas);
            t->setFocusPolicy(Qt::NoFocus);  // tab controls never hold the focus
            t->tabBar()->setFocusPolicy(Qt::NoFocus);
            return t;
        }
        case Kind::Decoration: {
            auto* g = new QGroupBox(canvas);
            g->setFocusPolicy(Qt::NoFocus);
            return g;
        }
        case Kind::Chart:
            return new ChartView(canvas);
        case Kind::Timer:
            return nullptr;
    }
    return nullptr;
}

template <class List>
bool SameItems(const List& shown, const std::vector<QString>& wanted, int count) {
    if (count != static_cast<int>(wanted.size())) return false;
    for (int i = 0; i < count; ++i)
        if (shown(i) != wanted[static_cast<size_t>(i)]) return false;
    return true;
}

std::vector<QString> ItemLabels(const ui::Control& c, int charset) {
    std::vector<QString> out;
    for (const auto& item : c.items)
        out.push_back(DecodeText(item.label, charset));
    return out;
}

QString CellText(const ui::CellValue& cell, int precision, int charset) {
    if (const int* i = std::get_if<int>(&cell)) return QString::number(*i);
    if (const double* d = std::get_if<double>(&cell))
        return precision > 0 ? QString::number(*d, 'f', precision)
                             : QString::number(*d, 'g', QLocale::FloatingPointShortest);
    return DecodeText(std::get<std::string>(cell), charset);
}

void SyncTable(QTableWidget* t, const ui::Control& c, int charset) {
    const int rows = static_cast<int>(c.rowLabels.size());
    const int columns = static_cast<int>(c.columnLabels.size());
    t->setRowCount(rows);
    t->setColumnCount(columns);
    QStringList rowLabels, columnLabels;
    for (const auto& s : c.rowLabels)
        rowLabels << DecodeText(s, charset);
    for (const auto& s : c.columnLabels)
        columnLabels << DecodeText(s, charset);
    t->setVerticalHeaderLabels(rowLabels);
    t->setHorizontalHeaderLabels(columnLabels);
    for (int r = 0; r < rows && r < static_cast<int>(c.cells.size()); ++r) {
        const auto& row = c.cells[static_cast<size_t>(r)];
        for (int k = 0; k < columns && k < static_cast<int>(row.size()); ++k) {
            const ui::CellValue& cell = row[static_cast<size_t>(k)];
            QTableWidgetItem* item = t->item(r, k);
            if (!item) {
                item = new QTableWidgetItem;
                t->setItem(r, k, item);
            }
            item->setText(CellText(cell, c.precision, charset));
            item->setTextAlignment(std::holds_alternative<std::string>(cell)
                                       ? Qt::AlignLeft | Qt::AlignVCenter
                                       : Qt::AlignRight | Qt::AlignVCenter);
            item->setForeground(QColor(static_cast<QRgb>(c.textColor)));
        }
    }
}

void SyncValue(QWidget* w, const ui::Control& c, int charset) {
    const QString label = DecodeText(c.label, charset);
    switch (c.kind) {
        case Kind::Numeric: {
            auto* s = static_cast<QSpinBox*>(w);
            s->setValue(ToInt(c.number));
            s->setReadOnly(c.indicator);
            s->setButtonSymbols(c.indicator ? QAbstractSpinBox::NoButtons
                                            : QAbstractSpinBox::UpDownArrows);
            SetColours(s, {QPalette::Base}, c.textBgColor);
            SetColours(s, {QPalette::Text}, c.textColor);
            break;
        }
        case Kind::Real: {
            auto* s = static_cast<QDoubleSpinBox*>(w);
            s->setDecimals(c.precision);
            s->setValue(c.number);
            s->setReadOnly(c.indicator);
            s->setButtonSymbols(c.indicator ? QAbstractSpinBox::NoButtons
                                            : QAbstractSpinBox::UpDownArrows);
            SetColours(s, {QPalette::Base}, c.textBgColor);
            SetColours(s, {QPalette::Text}, c.textColor);
            break;
        }
        case Kind::String: {
            auto* e = static_cast<QLineEdit*>(w);
            const QString text = DecodeText(c.text, charset);
            if (e->text() != text) e->setText(text);  // keeps the cursor when nothing changed
            e->setReadOnly(c.indicator);
            SetColours(e, {QPalette::Base}, c.textBgColor);
            SetColours(e, {QPalette::Text}, c.textColor);
            break;
        }
        case Kind::TextMsg: {
            auto* l = static_cast<QLabel*>(w);
            l->setText(DecodeText(c.text, charset));
            SetColours(l, {QPalette::WindowText}, c.textColor);
            break;
        }
        case Kind::Ring: {
            auto* b = static_cast<QComboBox*>(w);
            const std::vector<QString> items = ItemLabels(c, charset);
            if (!SameItems([b](int i) { return b->itemText(i); }, items, b->count())) {
                b->clear();
                for (const QString& item : items)
                    b->addItem(item);
            }
            b->setCurrentIndex(c.index);
            SetColours(b, {QPalette::Button}, c.frameColor);
            SetColours(b, {QPalette::ButtonText, QPalette::Text}, c.textColor);
            break;
        }
        case Kind::ListBox: {
            auto* l = static_cast<QListWidget*>(w);
            const std::vector<QString> items = ItemLabels(c, charset);
            if (!SameItems([l](int i) { return l->item(i)->text(); }, items, l->count())) {
                l->clear();
                for (const QString& item : items)
                    l->addItem(item);
            }
            l->setCurrentRow(c.index);
            SetColours(l, {QPalette::Text}, c.textColor);
            break;
        }
        case Kind::RadioButton:
        case Kind::Toggle: {
            auto* b = static_cast<QAbstractButton*>(w);
            b->setText(MnemonicCaption(label));
            b->setChecked(c.state != 0);
            if (c.kind == Kind::Toggle) SetColours(b, {QPalette::Button}, c.frameColor);
            SetColours(b, {QPalette::ButtonText, QPalette::WindowText}, c.textColor);
            break;
        }
        case Kind::Command: {
            auto* b = static_cast<QPushButton*>(w);
            b->setText(MnemonicCaption(label));
            SetColours(b, {QPalette::Button}, c.frameColor);
            SetColours(b, {QPalette::ButtonText}, c.textColor);
            break;
        }
        case Kind::Led:
            static_cast<LedWidget*>(w)->SetLit(c.state != 0);
            break;
        case Kind::Table:
            SyncTable(static_cast<QTableWidget*>(w), c, charset);
            break;
        case Kind::Tab: {
            auto* t = static_cast<QTabWidget*>(w);
            if (c.activePage < t->count()) t->setCurrentIndex(c.activePage);
            break;
        }
        case Kind::Decoration: {
            auto* g = static_cast<QGroupBox*>(w);
            g->setTitle(label);
            SetColours(g, {QPalette::WindowText}, c.textColor);
            g->lower();  // a frame lies beneath the controls it groups
            break;
        }
        case Kind::Chart:
            static_cast<ChartView*>(w)->SyncLooks(c, charset);
            break;
        case Kind::Timer:
            break;
    }
}

// Labels sit above their control, or to its left when there is no room above; an LED's sits
// to its right.
void SyncLabel(QLabel* label, const ui::Control& c, int charset) {
    const QString text = DecodeText(c.label, charset);
    label->setText(text);
    label->setEnabled(!c.dimmed);
    label->setVisible(c.visible && !text.isEmpty());
    const int hint = label->sizeHint().width();
    const int middle = c.top + (c.height - kLabelHeight) / 2;
    if (c.kind == Kind::Led) {
        label->setGeometry(c.left + c.width + 6, middle, hint, kLabelHeight);
    } else if (c.top >= kLabelHeight + kLabelGap) {
        label->setGeometry(c.left, c.top - kLabelHeight - kLabelGap, std::max(c.width, hint),
                           kLabelHeight);
    } else {
        label->setGeometry(c.left - hint - 6, middle, hint, kLabelHeight);
    }
}

}  // namespace

ControlView CreateControlView(const ui::Control& control, QWidget* canvas) {
    ControlView view;
    view.kind = control.kind;
    if (control.kind == Kind::Timer) {
        view.timer = new QTimer(canvas);
        // A coarse timer may fire up to 5 % early; the process value's record keeps one line a
        // second and lets go a tick in the second it has just recorded, so ticks keep time.
        view.timer->setTimerType(Qt::PreciseTimer);
        return view;
    }
    view.widget = CreateWidget(control.kind, canvas);
    view.widget->setProperty(kFocusPolicy, static_cast<int>(view.widget->focusPolicy()));
    // The role name, so a control can be found by it (accessibility tools, scripted shots).
    view.widget->setObjectName(QString::fromStdString(control.name));
    if (HasOwnLabel(control.kind)) {
        view.label = new QLabel(canvas);
        view.label->setFocusPolicy(Qt::NoFocus);
    }
    return view;
}

void SyncControlView(const ControlView& view, const ui::Control& c, int charset) {
    QWidget* w = view.widget;
    if (!w) return;
    const QSignalBlocker blocker(w);
    w->setGeometry(c.left, c.top, c.width, c.height);
    w->setEnabled(!c.dimmed);
    // Indicators neither take the focus nor react to the mouse; they still look alive.
    w->setFocusPolicy(c.indicator
                          ? Qt::NoFocus
                          : static_cast<Qt::FocusPolicy>(w->property(kFocusPolicy).toInt()));
    w->setAttribute(Qt::WA_TransparentForMouseEvents, c.indicator);
    SyncValue(w, c, charset);
    w->setVisible(c.visible);
    if (view.label) SyncLabel(view.label, c, charset);
}

void RebuildChart(const ControlView& view, const ui::Control& c) {
    if (view.kind == Kind::Chart && view.widget)
        static_cast<ChartView*>(view.widget.data())->Rebuild(c);
}

void AppendToChart(const ControlView& view, const ui::Control& c) {
    if (view.kind == Kind::Chart && view.widget)
        static_cast<ChartView*>(view.widget.data())->Append(c);
}

bool EditedNumber(const ControlView& view, const ui::Control& c, double* value) {
    if (auto* s = qobject_cast<QSpinBox*>(view.widget.data())) {
        {
            const QSignalBlocker blocker(s);
            s->interpretText();  // what is typed but not yet taken
        }
        if (s->value() == ToInt(c.number)) return false;
        *value = s->value();
        return true;
    }
    if (auto* s = qobject_cast<QDoubleSpinBox*>(view.widget.data())) {
        {
            const QSignalBlocker blocker(s);
            s->interpretText();
        }
        // Compared as shown: a model value with more decimals than the widget is not an edit.
        if (s->textFromValue(s->value()) == s->textFromValue(c.number)) return false;
        *value = s->value();
        return true;
    }
    return false;
}

bool EditedText(const ControlView& view, const ui::Control& c, int charset, std::string* text) {
    auto* e = qobject_cast<QLineEdit*>(view.widget.data());
    if (!e || e->text() == DecodeText(c.text, charset)) return false;
    *text = EncodeText(e->text(), charset);
    return true;
}

}  // namespace qtfe
