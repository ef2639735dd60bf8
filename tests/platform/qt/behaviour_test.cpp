// What the user does on the real widgets, with QTest's mouse and keys, and the events the
// program's callbacks see of it.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "qt_panel_test.h"

namespace {

using namespace ui;

const char* kPanelJson = R"({ "panels": [
  { "name": "P", "title": "Behaviour", "width": 460, "height": 320, "callback": "evPanel",
    "menubar": { "menus": [
      { "name": "FILE", "label": "File", "items": [
        { "name": "PORT", "label": "Port", "checked": true, "callback": "evMenu" },
        { "name": "EXIT", "label": "Exit", "callback": "evMenu" } ] } ] },
    "controls": [
      { "kind": "numeric", "name": "FIRST", "left": 10, "top": 30 },
      { "kind": "numeric", "name": "STATION", "left": 100, "top": 30, "callback": "evCtrl" },
      { "kind": "real", "name": "LIMIT", "precision": 1, "left": 190, "top": 30 },
      { "kind": "string", "name": "NAME", "left": 280, "top": 30, "width": 120,
        "callback": "evCtrl" },
      { "kind": "string", "name": "STATUS", "indicator": true, "value": "idle",
        "left": 10, "top": 80 },
      { "kind": "ring", "name": "BAUD", "items": ["2400", "4800", "9600"],
        "left": 100, "top": 80, "callback": "evCtrl" },
      { "kind": "radio", "name": "CH_A", "label": "A", "value": 1, "left": 190, "top": 80,
        "callback": "evRadio" },
      { "kind": "radio", "name": "CH_B", "label": "B", "left": 190, "top": 104,
        "callback": "evRadio" },
      { "kind": "command", "name": "READ", "label": "Read", "left": 280, "top": 80,
        "callback": "evCtrl" },
      { "kind": "listbox", "name": "PORTS", "items": ["COM1", "COM2", "COM3"],
        "left": 10, "top": 140, "width": 100, "height": 80, "callback": "evCtrl" },
      { "kind": "timer", "name": "POLL", "interval": 0.02, "callback": "evCtrl" },
      { "kind": "tab", "name": "TAB", "left": 130, "top": 140, "width": 300, "height": 150,
        "callback": "evCtrl", "pages": [
          { "name": "P0", "title": "First", "controls": [
            { "kind": "numeric", "name": "ID", "left": 10, "top": 30 } ] },
          { "name": "P1", "title": "Second", "controls": [
            { "kind": "command", "name": "STEP", "label": "Step", "left": 10, "top": 10 } ] }
      ] } ] } ] })";

// One delivered event as a callback saw it.
struct Seen {
    std::string who;  // "ctrl", "panel", "menu"
    int control;      // the menu item for "menu"
    int event;
    int data1;
    int data2;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
    *os << "{" << s.who << " " << s.control << " ev" << s.event << " " << s.data1 << " " << s.data2
        << "}";
}

// The Qt key of a runtime key code: virtual keys, then characters.
Qt::Key QtKey(int code) {
    const int vkey = code & VAL_VKEY_MASK;
    if (vkey >= VAL_F1_VKEY && vkey <= VAL_F12_VKEY)
        return static_cast<Qt::Key>(Qt::Key_F1 + (vkey - VAL_F1_VKEY) / 0x100);
    if (vkey == VAL_ENTER_VKEY) return Qt::Key_Return;
    return vkey == VAL_ESC_VKEY ? Qt::Key_Escape : Qt::Key_unknown;  // the keys tests use
}

QWidget* KeyTarget() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    return QApplication::activeWindow();
}

class Behaviour : public qttest::QtPanelTest {
  protected:
    void SetUp() override {
        registry.AddControl("evCtrl", [this](int, int c, int e, void*, int d1, int d2) {
            seen.push_back({"ctrl", c, e, d1, d2});
            return onCtrl ? onCtrl(c, e, d1) : 0;
        });
        // The program keeps the radio pair exclusive.
        registry.AddControl("evRadio", [this](int p, int c, int e, void*, int, int) {
            if (e != EVENT_COMMIT) return 0;
            rt.SetCtrlVal(p, Id("CH_A"), c == Id("CH_A") ? 1 : 0);
            rt.SetCtrlVal(p, Id("CH_B"), c == Id("CH_B") ? 1 : 0);
            return 0;
        });
        registry.AddPanel("evPanel", [this](int, int e, void*, int d1, int d2) {
            seen.push_back({"panel", 0, e, d1, d2});
            return onPanel ? onPanel(e, d1) : 0;
        });
        registry.AddMenu("evMenu", [this](int mb, int item, void*, int p) {
            seen.push_back({"menu", item, 0, mb, p});
            return 0;
        });
        Load(kPanelJson);
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(panel, Id("TAB"), 0, &page0), 0);
        ASSERT_EQ(rt.GetPanelHandleFromTabPage(panel, Id("TAB"), 1, &page1), 0);
        menuBar = rt.GetPanelMenuBar(panel);
        QCoreApplication::processEvents();
        seen.clear();
    }

    // The user clicks into a numeric or string control and selects its text.
    void ClickInto(const char* name) {
        QWidget* w = Widget(name);
        // Left of the middle: a spin box's arrows are on its right.
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 3, w->height() / 2));
        if (!w->hasFocus()) return;
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) spin->selectAll();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    }
    // Typing on the keyboard, into whatever has the focus.
    void Type(const std::string& utf8) {
        for (QChar ch : QString::fromStdString(utf8)) {
            const Qt::Key key = ch.unicode() < 0x80
                                    ? QTest::asciiToKey(static_cast<char>(ch.unicode()))
                                    : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, KeyTarget(), key, QString(ch), Qt::NoModifier);
        }
    }
    // One key by its runtime code: a virtual key, a character, optionally | Ctrl.
    void Key(int code) {
        const Qt::KeyboardModifiers modifiers =
            (code & VAL_MENUKEY_MODIFIER) ? Qt::ControlModifier : Qt::NoModifier;
        if ((code & VAL_VKEY_MASK) == 0)
            QTest::keyClick(KeyTarget(), static_cast<char>(code & VAL_ASCII_KEY_MASK), modifiers);
        else
            QTest::keyClick(KeyTarget(), QtKey(code), modifiers);
    }
    // A command, radio button or toggle: near the left edge, where a radio's indicator is.
    void Click(const char* name) {
        QWidget* w = Widget(name);
        QTest::mouseClick(w, Qt::LeftButton, {},
                          QPoint(std::min(8, w->width() / 2), w->height() / 2));
    }
    // What a control shows, as the user reads it.
    std::string Text(const char* name) {
        QWidget* w = Widget(name);
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) return spin->text().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
        if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText().toStdString();
        auto* list = qobject_cast<QListWidget*>(w);
        return list && list->currentItem() ? list->currentItem()->text().toStdString() : "";
    }
    bool Checked(const char* name) { return Widget<QAbstractButton>(name)->isChecked(); }
    double Value(const char* name) {
        double v = 0;
        rt.GetCtrlVal(panel, Id(name), &v);
        return v;
    }
    std::vector<Seen> NonFocus() const {
        std::vector<Seen> out;
        for (const auto& s : seen)
            if (s.event != EVENT_GOT_FOCUS && s.event != EVENT_LOST_FOCUS) out.push_back(s);
        return out;
    }

    std::vector<Seen> seen;
    std::function<int(int, int, int)> onCtrl;  // (control, event, data1) -> result
    std::function<int(int, int)> onPanel;      // (event, data1) -> result
    int page0 = 0, page1 = 0, menuBar = 0;
};

TEST_F(Behaviour, TypedNumbersCommitOnEnterAfterTheKeyPressEvenWhenItMovesTheFocus) {
    const int station = Id("STATION");
    ClickInto("STATION");
    Type("300");
    Key(VAL_ENTER_VKEY);
    EXPECT_EQ(Value("STATION"), 300);
    std::vector<Seen> expected{{"ctrl", station, EVENT_GOT_FOCUS, 0, 0}};
    for (int key : {int{'3'}, int{'0'}, int{'0'}, VAL_ENTER_VKEY}) {
        expected.push_back({"ctrl", station, EVENT_KEYPRESS, key, 0});
        expected.push_back({"panel", 0, EVENT_KEYPRESS, key, 0});
    }
    expected.push_back({"ctrl", station, EVENT_VAL_CHANGED, 0, 0});
    expected.push_back({"ctrl", station, EVENT_COMMIT, 0, 0});
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(Widget("STATION")->hasFocus());

    // The panel takes Enter and moves the focus on: the typed value is not lost.
    onPanel = [this](int e, int key) {
        if (e != EVENT_KEYPRESS || key != VAL_ENTER_VKEY) return 0;
        rt.SetActiveCtrl(panel, Id("NAME"));
        return 1;
    };
    ClickInto("STATION");
    Type("42");
    seen.clear();
    Key(VAL_ENTER_VKEY);
    EXPECT_EQ(Value("STATION"), 42);
    EXPECT_EQ(NonFocus(), std::vector<Seen>(expected.end() - 4, expected.end()));  // from Enter
    EXPECT_TRUE(Widget("NAME")->hasFocus());
    EXPECT_EQ(rt.GetActiveCtrl(panel), Id("NAME"));
}

TEST_F(Behaviour, ProgramChangesShowInTheWidgetsAndDimmedOrIndicatorControlsRefuseInput) {
    rt.SetCtrlVal(panel, Id("LIMIT"), 10.0);
    EXPECT_EQ(Text("LIMIT"), "10.0");
    rt.SetCtrlAttribute(panel, Id("LIMIT"), ATTR_PRECISION, 3);
    EXPECT_EQ(Text("LIMIT"), "10.000");
    rt.SetCtrlVal(panel, Id("STATION"), 2.6);
    EXPECT_EQ(Text("STATION"), "3");
    rt.SetCtrlAttribute(panel, Id("STATION"), ATTR_TEXT_BGCOLOR, VAL_RED);
    EXPECT_EQ(static_cast<int>(Widget("STATION")->palette().color(QPalette::Base).rgb() & 0xFFFFFF),
              VAL_RED);
    rt.SetCtrlVal(panel, Id("NAME"), "COM5");
    EXPECT_EQ(Text("NAME"), "COM5");
    rt.SetCtrlIndex(panel, Id("BAUD"), 2);
    EXPECT_EQ(Text("BAUD"), "9600");

    EXPECT_TRUE(Widget("NAME")->isEnabled());
    rt.SetCtrlAttribute(panel, Id("NAME"), ATTR_DIMMED, 1);
    EXPECT_FALSE(Widget("NAME")->isEnabled());
    EXPECT_TRUE(Widget("READ")->isVisible());
    rt.SetCtrlAttribute(panel, Id("READ"), ATTR_VISIBLE, 0);
    EXPECT_FALSE(Widget("READ")->isVisible());
    EXPECT_TRUE(seen.empty());  // program changes raise no events

    // Dimmed and indicator controls refuse focus and input.
    const int station = Id("STATION");
    rt.SetCtrlAttribute(panel, station, ATTR_DIMMED, 1);
    ClickInto("STATION");
    Type("5");
    Key(VAL_ENTER_VKEY);
    EXPECT_FALSE(Widget("STATION")->hasFocus());
    EXPECT_EQ(Value("STATION"), 3);
    for (const auto& s : seen)
        EXPECT_NE(s.control, station) << "event " << s.event;

    ClickInto("STATUS");
    Type("x");
    Key(VAL_ENTER_VKEY);
    EXPECT_FALSE(Widget("STATUS")->hasFocus());
    EXPECT_EQ(Text("STATUS"), "idle");
}

TEST_F(Behaviour, KeysReachTheControlThenThePanelUnlessTheControlSwallowsThem) {
    ClickInto("STATION");
    seen.clear();
    for (int key : {VAL_F2_VKEY, VAL_ESC_VKEY, int{'`'}, 'O' | VAL_MENUKEY_MODIFIER})
        Key(key);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[0], (Seen{"ctrl", Id("STATION"), EVENT_KEYPRESS, VAL_F2_VKEY, 0}));
    EXPECT_EQ(seen[1], (Seen{"panel", 0, EVENT_KEYPRESS, VAL_F2_VKEY, 0}));

    // The program moves the keyboard focus; NAME swallows '7', so it is neither the panel's
    // nor in the text.
    onCtrl = [](int, int e, int key) { return e == EVENT_KEYPRESS && key == '7' ? 1 : 0; };
    ASSERT_EQ(rt.SetActiveCtrl(panel, Id("NAME")), 0);
    EXPECT_TRUE(Widget("NAME")->hasFocus());
    Type("a7b");
    Key(VAL_ENTER_VKEY);
    std::vector<int> panelKeys;
    for (const auto& s : seen)
        if (s.who == "panel" && s.event == EVENT_KEYPRESS) panelKeys.push_back(s.data1);
    EXPECT_EQ(panelKeys,
              (std::vector<int>{0x1100, 0x0300, 0x60, 0x2004F, 'a', 'b', VAL_ENTER_VKEY}));
    std::string name;
    rt.GetCtrlVal(panel, Id("NAME"), &name);
    EXPECT_EQ(name, "ab");
}

// The program keeps the radio pair exclusive; the other controls report what the user did.
TEST_F(Behaviour, RadiosRingsButtonsListsAndTabsAnswerTheUser) {
    Click("CH_B");
    EXPECT_FALSE(Checked("CH_A"));
    EXPECT_TRUE(Checked("CH_B"));
    Click("CH_B");  // a second click turns it off; the program turns it back on
    EXPECT_TRUE(Checked("CH_B"));
    EXPECT_EQ(Value("CH_A"), 0);
    EXPECT_EQ(Value("CH_B"), 1);
    // Exclusivity is the program's alone: the buttons show whatever it sets.
    rt.SetCtrlVal(panel, Id("CH_A"), 1);
    EXPECT_TRUE(Checked("CH_A"));
    EXPECT_TRUE(Checked("CH_B"));

    const int baud = Id("BAUD");
    // The user opens the ring's list, walks it with the arrow keys and takes the item with Enter.
    auto* combo = Widget<QComboBox>("BAUD");
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }, 1000));
    Click("READ");
    auto* list = Widget<QListWidget>("PORTS");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    QTabBar* tabs = Widget<QTabWidget>("TAB")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(NonFocus(), (std::vector<Seen>{{"ctrl", baud, EVENT_VAL_CHANGED, 0, 0},
                                             {"ctrl", baud, EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("READ"), EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_VAL_CHANGED, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_COMMIT, 0, 0},
                                             {"ctrl", Id("PORTS"), EVENT_LEFT_CLICK_UP, 0, 0},
                                             {"ctrl", Id("TAB"), EVENT_ACTIVE_TAB_CHANGE, 0, 1}}));
    int index = -1;
    rt.GetCtrlIndex(panel, baud, &index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(Text("BAUD"), "9600");
    EXPECT_EQ(Text("PORTS"), "COM2");
    EXPECT_TRUE(fe.ControlWidget(page1, rt.FindCtrl(page1, "STEP"))->isVisible());
    rt.SetActiveTabPage(panel, Id("TAB"), 0);
    EXPECT_FALSE(fe.ControlWidget(page1, rt.FindCtrl(page1, "STEP"))->isVisible());
    EXPECT_TRUE(fe.ControlWidget(page0, rt.FindCtrl(page0, "ID"))->isVisible());
}

TEST_F(Behaviour, MenuChecksFollowTheModelSelectionsAndTheCloseBoxCallBack) {
    const int port = rt.FindMenuItem(menuBar, "PORT"), exit = rt.FindMenuItem(menuBar, "EXIT");
    EXPECT_TRUE(fe.MenuAction(menuBar, port)->isChecked());
    EXPECT_TRUE(fe.MenuAction(menuBar, exit)->isEnabled());
    rt.SetMenuBarAttribute(menuBar, port, ATTR_CHECKED, 0);
    EXPECT_FALSE(fe.MenuAction(menuBar, port)->isChecked());
    rt.SetMenuBarAttribute(menuBar, exit, ATTR_DIMMED, 1);
    EXPECT_FALSE(fe.MenuAction(menuBar, exit)->isEnabled());
    fe.MenuAction(menuBar, exit)->trigger();
    EXPECT_TRUE(seen.empty());
    rt.SetMenuBarAttribute(menuBar, exit, ATTR_DIMMED, 0);
    fe.MenuAction(menuBar, exit)->trigger();
    fe.MenuAction(menuBar, port)->trigger();
    EXPECT_EQ(seen, (std::vector<Seen>{{"menu", exit, 0, menuBar, panel},
                                       {"menu", port, 0, menuBar, panel}}));
    EXPECT_FALSE(fe.MenuAction(menuBar, port)->isChecked());  // choosing it does not check it

    // The close box asks the program and closes nothing.
    seen.clear();
    fe.PanelWindow(panel)->close();
    EXPECT_EQ(seen, (std::vector<Seen>{{"panel", 0, EVENT_CLOSE, 0, 0}}));
    EXPECT_TRUE(fe.PanelWindow(panel)->isVisible());
}

TEST_F(Behaviour, AnEnabledTimerTicksUntilDisabled) {
    int ticks = 0;
    onCtrl = [&ticks](int, int e, int) { return e == EVENT_TIMER_TICK ? ++ticks, 0 : 0; };
    EXPECT_FALSE(QTest::qWaitFor([&] { return ticks > 0; }, 50));
    rt.SetCtrlAttribute(panel, Id("POLL"), ATTR_ENABLED, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    rt.SetCtrlAttribute(panel, Id("POLL"), ATTR_ENABLED, 0);
    const int stopped = ticks;
    EXPECT_FALSE(QTest::qWaitFor([&] { return ticks > stopped; }, 60));
}

}  // namespace
