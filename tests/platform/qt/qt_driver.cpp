// The user as the Qt front end sees one: mouse clicks and key presses on the real widgets.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "panel_driver.h"
#include "platform/qt/qt_front_end.h"

namespace qttest {

namespace {

QWidget* KeyTarget() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    return QApplication::activeWindow();
}

// The Qt key of a runtime key code: virtual keys, then characters.
Qt::Key QtKey(int code) {
    const int vkey = code & ui::VAL_VKEY_MASK;
    if (vkey >= ui::VAL_F1_VKEY && vkey <= ui::VAL_F12_VKEY)
        return static_cast<Qt::Key>(Qt::Key_F1 + (vkey - ui::VAL_F1_VKEY) / 0x100);
    if (vkey == ui::VAL_ENTER_VKEY) return Qt::Key_Return;
    return vkey == ui::VAL_ESC_VKEY ? Qt::Key_Escape : Qt::Key_unknown;  // the keys tests use
}

class QtDriver final : public PanelDriver {
  public:
    ui::FrontEnd& FrontEnd() override { return fe_; }

    void Show(int panel) override {
        rt_->DisplayPanel(panel);
        QWidget* window = fe_.PanelWindow(panel);
        if (!QTest::qWaitForWindowActive(window)) ADD_FAILURE() << "the window never activated";
        QCoreApplication::processEvents();
    }
    void ClickInto(int panel, int control) override {
        QWidget* w = fe_.ControlWidget(panel, control);
        // Left of the middle: a spin box's arrows are on its right.
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 3, w->height() / 2));
        if (!w->hasFocus()) return;
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) spin->selectAll();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    }
    void Type(const std::string& utf8) override {
        for (QChar ch : QString::fromStdString(utf8)) {
            const Qt::Key key = ch.unicode() < 0x80
                                    ? QTest::asciiToKey(static_cast<char>(ch.unicode()))
                                    : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, KeyTarget(), key, QString(ch), Qt::NoModifier);
        }
    }
    void Key(int code) override {
        const Qt::KeyboardModifiers modifiers =
            (code & ui::VAL_MENUKEY_MODIFIER) ? Qt::ControlModifier : Qt::NoModifier;
        const int ascii = code & ui::VAL_ASCII_KEY_MASK;
        if ((code & ui::VAL_VKEY_MASK) == 0)
            QTest::keyClick(KeyTarget(), static_cast<char>(ascii), modifiers);
        else
            QTest::keyClick(KeyTarget(), QtKey(code), modifiers);
    }
    void Click(int panel, int control) override {
        QWidget* w = fe_.ControlWidget(panel, control);
        // Near the left edge: a radio button's indicator is there.
        QTest::mouseClick(w, Qt::LeftButton, {},
                          QPoint(std::min(8, w->width() / 2), w->height() / 2));
    }
    void Choose(int panel, int control, int index) override {
        auto* combo = qobject_cast<QComboBox*>(fe_.ControlWidget(panel, control));
        QTest::mouseClick(combo, Qt::LeftButton);  // opens the list
        QAbstractItemView* view = combo->view();
        if (!QTest::qWaitForWindowExposed(view->window())) ADD_FAILURE() << "no ring popup";
        // Walk the list with the arrow keys and take the item with Enter.
        for (int i = combo->currentIndex(); i < index; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        for (int i = combo->currentIndex(); i > index; --i)
            QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        if (!QTest::qWaitFor([view] { return !view->isVisible(); }, 1000))
            ADD_FAILURE() << "the ring popup stayed open";
    }
    void ClickItem(int panel, int control, int index) override {
        auto* list = qobject_cast<QListWidget*>(fe_.ControlWidget(panel, control));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(index)).center());
    }
    void SelectTab(int panel, int tabControl, int page) override {
        auto* tabs = qobject_cast<QTabWidget*>(fe_.ControlWidget(panel, tabControl));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(page).center());
    }
    void SelectMenu(int menuBar, int item) override { fe_.MenuAction(menuBar, item)->trigger(); }
    void CloseBox(int panel) override { fe_.PanelWindow(panel)->close(); }
    bool WaitFor(const std::function<bool()>& done, double seconds) override {
        return QTest::qWaitFor(done, static_cast<int>(seconds * 1000));
    }

    Shown Look(int panel, int control) override {
        QWidget* w = fe_.ControlWidget(panel, control);
        Shown s;
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) s.text = spin->text().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) s.text = edit->text().toStdString();
        if (auto* combo = qobject_cast<QComboBox*>(w)) s.text = combo->currentText().toStdString();
        if (auto* list = qobject_cast<QListWidget*>(w))
            s.text = list->currentItem() ? list->currentItem()->text().toStdString() : "";
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            s.text = button->text().toStdString();
            s.checked = button->isChecked();
        }
        s.enabled = w->isEnabled();
        s.visible = w->isVisible();
        s.focused = w->hasFocus();
        s.background = static_cast<int>(w->palette().color(QPalette::Base).rgb() & 0xFFFFFF);
        return s;
    }
    bool WindowVisible(int panel) override { return fe_.PanelWindow(panel)->isVisible(); }
    Shown LookMenu(int menuBar, int item) override {
        const QAction* action = fe_.MenuAction(menuBar, item);
        Shown s;
        s.enabled = action->isEnabled();
        s.checked = action->isChecked();
        return s;
    }

  private:
    int argc_ = 0;  // the test's main made the QApplication
    qtfe::QtFrontEnd fe_{argc_, nullptr};
};

}  // namespace

std::unique_ptr<PanelDriver> MakeQtDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace qttest
