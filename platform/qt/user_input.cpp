// What the user does to the widgets, handed to the runtime's user side.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include "platform/qt/front_end_impl.h"
#include "platform/qt/key_codes.h"

namespace qtfe {

using ui::Kind;

void FrontEndImpl::Wire(int panel, const ui::Control& control, const ControlView& view) {
    QObject* context = context_.get();
    const int id = control.id;
    auto commit = [this, panel, id] { RequestCommit(panel, id); };
    // After each call the widget shows the model again: the program may refuse or correct.
    auto call = [this, panel, id](auto userCall) {
        if (Busy()) return;
        Call(userCall);
        SyncControl(panel, id);
    };
    QWidget* w = view.widget;
    switch (control.kind) {
        case Kind::Numeric:
            QObject::connect(static_cast<QSpinBox*>(w), &QSpinBox::valueChanged, context, commit);
            QObject::connect(static_cast<QSpinBox*>(w), &QAbstractSpinBox::editingFinished, context,
                             commit);
            break;
        case Kind::Real:
            QObject::connect(static_cast<QDoubleSpinBox*>(w), &QDoubleSpinBox::valueChanged,
                             context, commit);
            QObject::connect(static_cast<QDoubleSpinBox*>(w), &QAbstractSpinBox::editingFinished,
                             context, commit);
            break;
        case Kind::String:
            QObject::connect(static_cast<QLineEdit*>(w), &QLineEdit::editingFinished, context,
                             commit);
            break;
        case Kind::Ring:
            QObject::connect(static_cast<QComboBox*>(w), &QComboBox::activated, context,
                             [this, panel, id, call](int index) {
                                 call([&] { return runtime_->UserSelectIndex(panel, id, index); });
                             });
            break;
        case Kind::ListBox: {
            auto* list = static_cast<QListWidget*>(w);
            // The selection follows the press (and the arrow keys); the release comes after it.
            QObject::connect(list, &QListWidget::currentRowChanged, context,
                             [this, panel, id, call](int row) {
                                 if (row < 0) return;
                                 call([&] { return runtime_->UserSelectIndex(panel, id, row); });
                             });
            list->viewport()->setProperty(kClickUpProperty, true);
            break;
        }
        case Kind::RadioButton:
        case Kind::Toggle:
            QObject::connect(
                static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, context,
                [this, panel, id, call] { call([&] { return runtime_->UserToggle(panel, id); }); });
            break;
        case Kind::Command:
            QObject::connect(
                static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, context,
                [this, panel, id, call] { call([&] { return runtime_->UserPress(panel, id); }); });
            break;
        case Kind::Tab:
            QObject::connect(static_cast<QTabWidget*>(w), &QTabWidget::currentChanged, context,
                             [this, panel, id, call](int page) {
                                 call([&] { return runtime_->UserSelectTab(panel, id, page); });
                             });
            break;
        case Kind::Timer:
            QObject::connect(view.timer, &QTimer::timeout, context, [this, panel, id] {
                if (!Busy()) Call([&] { return runtime_->TimerTick(panel, id); });
            });
            break;
        case Kind::TextMsg:
        case Kind::Led:
        case Kind::Table:
        case Kind::Decoration:
        case Kind::Chart:
            break;
    }
}

// --- committing typed values --------------------------------------------------------------

void FrontEndImpl::RequestCommit(int panel, int control) {
    if (runtime_ == nullptr) return;
    // An edit that ends while the runtime is busy (a callback moved the focus away from it) is
    // committed once that call is over, not inside it.
    if (depth_ > 0 || syncing_ > 0) {
        const bool schedule = depth_ == 0 && pendingCommits_.empty();
        pendingCommits_.insert({panel, control});
        if (schedule) QTimer::singleShot(0, context_.get(), [this] { FlushCommits(); });
        return;
    }
    Commit(panel, control);
}

void FrontEndImpl::FlushCommits() {
    while (!pendingCommits_.empty() && depth_ == 0 && syncing_ == 0 && runtime_) {
        const auto [panel, control] = *pendingCommits_.begin();
        pendingCommits_.erase(pendingCommits_.begin());
        Commit(panel, control);
    }
}

void FrontEndImpl::Commit(int panel, int control) {
    auto it = controls_.find({panel, control});
    const ui::Control* c = runtime_ ? runtime_->GetControl(panel, control) : nullptr;
    if (it == controls_.end() || !c || !it->second.widget) return;
    const bool numeric = c->kind == Kind::Numeric || c->kind == Kind::Real;
    double value = 0;
    std::string text;
    if (numeric ? !EditedNumber(it->second, *c, &value)
                : !EditedText(it->second, *c, Charset(panel), &text))
        return;
    Call([&] {
        return numeric ? runtime_->UserSetValue(panel, control, value)
                       : runtime_->UserSetText(panel, control, text);
    });
    SyncControl(panel, control);  // a refused value shows the model's again
}

// --- keys, mouse, focus -------------------------------------------------------------------

bool FrontEndImpl::FilterEvent(QObject* watched, QEvent* event) {
    if (Busy() || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::KeyPress:
            return OnKeyPress(widget, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                widget->property(kClickUpProperty).toBool())
                OnClickUp(widget);
            return false;
        default:
            return false;
    }
}

bool FrontEndImpl::OnKeyPress(QWidget* receiver, QKeyEvent* event) {
    // The filter sees a key again at each parent it propagates to; only the first counts.
    QWidget* focus = QApplication::focusWidget();
    if (focus ? receiver != focus : !receiver->isWindow()) return false;
    const Target target = TargetOf(receiver);
    if (target.panel <= 0) return false;  // a dialog or popup, not a panel
    const int code = RuntimeKeyCode(event->key(), event->modifiers(), event->text());
    if (code == 0) return false;
    QPointer<QWidget> alive(receiver);
    if (Call([&] { return runtime_->UserKeyPress(target.panel, target.control, code); }) == 1)
        return true;
    // Enter takes what was typed, after the key press: a callback that moved the focus away
    // meanwhile does not lose the typed value.
    if ((code & ui::VAL_VKEY_MASK) == ui::VAL_ENTER_VKEY && target.control > 0)
        Commit(target.panel, target.control);
    // If the callback moved the focus or discarded the panel, the key was meant for a control
    // that no longer has it.
    return !alive || QApplication::focusWidget() != focus;
}

void FrontEndImpl::OnClickUp(QWidget* viewport) {
    const Target target = TargetOf(viewport);
    if (target.control > 0)
        Call([&] { return runtime_->UserClickUp(target.panel, target.control); });
}

void FrontEndImpl::OnFocusChanged(QWidget* now) {
    // Focus moves the runtime asked for are already known to it.
    if (Busy() || now == nullptr) return;
    const Target target = TargetOf(now);
    if (target.control <= 0) return;
    if (runtime_->GetActivePanel() == target.panel &&
        runtime_->GetActiveCtrl(target.panel) == target.control)
        return;
    Call([&] { return runtime_->UserFocus(target.panel, target.control); });
}

FrontEndImpl::Target FrontEndImpl::TargetOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant control = w->property(kControlProperty);
        if (control.isValid()) return {w->property(kPanelProperty).toInt(), control.toInt()};
        const QVariant panel = w->property(kPanelProperty);
        if (panel.isValid()) return {panel.toInt(), 0};
        if (w->isWindow()) break;
    }
    return {};
}

}  // namespace qtfe
