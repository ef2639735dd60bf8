// What only the Qt front end has: decoding of panel charsets (every language text among them),
// captions, widget looks, popups, the event loop, staying sound when a callback discards its
// own panel, screenshot files, panel windows that fit the screen, and chart views.

#include <stdlib.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QValueAxis>

#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "core/context.h"
#include "lang/lang_db.h"
#include "models/model_a.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/desktop_capture.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/led_widget.h"
#include "platform/qt/panel_window.h"
#include "platform/qt/text_codec.h"
#include "platform/sys/codepage.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "qt_panel_test.h"
#include "scan/lang_table.h"

// Sizes and points as a failure shows them (found by argument lookup, hence outside the
// anonymous namespace; static, so no other test file's twin clashes).
static void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}
static void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace {

using namespace ui;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Runs `act` on the modal dialog as soon as it is up.
void WhenModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act, waited = 0, seen = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        // On a busy machine the dialog may be up before it is the active modal widget.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!modal && w->isModal() && w->isVisible()) modal = w;
        // Answer only a dialog that has been up for a few polls: by then its own event loop
        // runs, and an answer cannot get lost between showing it and entering that loop.
        if (modal && modal->isVisible() && ++seen < 3) return;
        if (!modal || !modal->isVisible()) {
            seen = 0;
            // A dialog that never comes up must not hang the run: after 5 s close whatever
            // dialog there is and let the expectations fail.
            if (++waited < 1000) return;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
            ADD_FAILURE() << "no modal dialog appeared";
            modal = nullptr;
        }
        poll->stop();
        poll->deleteLater();
        if (modal) act(modal);
    });
    poll->start();
}

using QtWidgets = qttest::QtPanelTest;

TEST_F(QtWidgets, TextsAreDecodedWithThePanelCharset) {
    Load(R"({ "panels": [ { "name": "P", "charset": 136, "controls": [
        { "kind": "textmsg", "name": "MSG" },
        { "kind": "command", "name": "GO", "label": "Go", "top": 40 },
        { "kind": "string", "name": "NOTE", "top": 80 },
        { "kind": "textmsg", "name": "UTF", "value": "開始 [UTF-8]", "top": 120 } ] } ] })");
    const std::string big5 = "\xB6\x7D\xA9\x6C";  // 開始
    rt.SetCtrlVal(panel, Id("MSG"), big5);
    rt.SetCtrlAttribute(panel, Id("GO"), ATTR_LABEL_TEXT, big5);
    rt.SetPanelAttribute(panel, ATTR_TITLE, big5);
    EXPECT_EQ(Widget<QLabel>("MSG")->text(), U("開始"));
    EXPECT_EQ(Widget<QPushButton>("GO")->text(), U("開始"));
    EXPECT_EQ(fe.PanelWindow(panel)->windowTitle(), U("開始"));
    EXPECT_EQ(Widget<QLabel>("UTF")->text(), U("開始 [UTF-8]"));  // resource texts are UTF-8

    // What the user types goes back to the program in the panel's charset.
    auto* note = Widget<QLineEdit>("NOTE");
    QTest::mouseClick(note, Qt::LeftButton);
    for (QChar ch : U("開始"))
        QTest::sendKeyEvent(QTest::Click, note, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QTest::keyClick(note, Qt::Key_Return);
    std::string text;
    rt.GetCtrlVal(panel, Id("NOTE"), &text);
    EXPECT_EQ(text, big5);

    ASSERT_EQ(rt.SetPanelAttribute(panel, ATTR_CHARSET, VAL_GB2312_CHARSET), 0);
    rt.SetCtrlVal(panel, Id("MSG"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(Widget<QLabel>("MSG")->text(), U("中文"));
    // GB2312 bytes that are valid UTF-8 as well, and a UTF-8 symbol that is valid GB2312.
    rt.SetCtrlVal(panel, Id("MSG"), "\xCD\xAC\xCE\xBB\xD4\xAA");
    EXPECT_EQ(Widget<QLabel>("MSG")->text(), U("同位元"));
    rt.SetCtrlVal(panel, Id("MSG"),
                  "\xC2\xB0"
                  "C");
    EXPECT_EQ(Widget<QLabel>("MSG")->text(), U("°C"));
}

TEST_F(QtWidgets, CaptionsTablesColoursLampsAndIndicatorsLookTheirPart) {
    registry.AddMenu("evMenu", [](int, int, void*, int) { return 0; });
    Load(R"({ "panels": [ { "name": "P",
        "menubar": { "menus": [ { "name": "FILE", "label": "__File", "items": [
          { "name": "EXIT", "label": "E__xit", "callback": "evMenu" } ] } ] },
        "controls": [ { "kind": "command", "name": "RW", "label": "__Read & Write" },
        { "kind": "table", "name": "PARA", "rows": ["COM", "Baud"], "columns": ["Current"],
          "cells": [["COM5"], [19200]], "top": 40, "width": 300, "height": 120 },
        { "kind": "ring", "name": "BAUD", "items": ["9600"], "top": 170 },
        { "kind": "led", "name": "LAMP", "top": 200, "width": 20, "height": 20 },
        { "kind": "numeric", "name": "COUNT", "indicator": true, "top": 230 },
        { "kind": "string", "name": "NOTE", "top": 260 } ] } ] })");
    // Mnemonics: "__" marks the key, a lone "&" is shown as itself.
    const int bar = rt.GetPanelMenuBar(panel);
    const int exit = rt.FindMenuItem(bar, "EXIT");
    EXPECT_EQ(Widget<QPushButton>("RW")->text(), "&Read && Write");
    EXPECT_EQ(fe.MenuAction(bar, rt.FindMenuItem(bar, "FILE"))->text(), "&File");
    EXPECT_EQ(fe.MenuAction(bar, exit)->text(), "E&xit");
    rt.SetMenuBarAttribute(bar, exit, ATTR_ITEM_NAME, "__Quit");
    EXPECT_EQ(fe.MenuAction(bar, exit)->text(), "&Quit");

    auto* table = Widget<QTableWidget>("PARA");
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Current");
    EXPECT_EQ(table->verticalHeaderItem(1)->text(), "Baud");
    EXPECT_EQ(table->item(0, 0)->text(), "COM5");
    EXPECT_EQ(table->item(1, 0)->text(), "19200");
    rt.SetTableCellVal(panel, Id("PARA"), 2, 1, 3.5);
    rt.SetTableRowAttribute(panel, Id("PARA"), 1, ATTR_LABEL_TEXT, "Port");
    EXPECT_EQ(table->item(1, 0)->text(), "3.5");
    EXPECT_EQ(table->verticalHeaderItem(0)->text(), "Port");

    rt.SetCtrlAttribute(panel, Id("BAUD"), ATTR_FRAME_COLOR, VAL_RED);
    EXPECT_EQ(Widget<QComboBox>("BAUD")->palette().color(QPalette::Button), QColor(Qt::red));
    rt.SetCtrlAttribute(panel, Id("NOTE"), ATTR_TEXT_COLOR, VAL_BLUE);
    EXPECT_EQ(Widget<QLineEdit>("NOTE")->palette().color(QPalette::Text), QColor(Qt::blue));

    auto* lamp = dynamic_cast<qtfe::LedWidget*>(fe.ControlWidget(panel, Id("LAMP")));
    ASSERT_NE(lamp, nullptr);
    EXPECT_FALSE(lamp->Lit());
    rt.SetCtrlVal(panel, Id("LAMP"), 1);
    EXPECT_TRUE(lamp->Lit());

    auto* count = Widget<QSpinBox>("COUNT");
    EXPECT_TRUE(count->isReadOnly());
    EXPECT_EQ(count->focusPolicy(), Qt::NoFocus);
    rt.SetCtrlAttribute(panel, Id("COUNT"), ATTR_CTRL_MODE, VAL_HOT);
    EXPECT_FALSE(count->isReadOnly());
    EXPECT_NE(count->focusPolicy(), Qt::NoFocus);
}

TEST_F(QtWidgets, ACallbackMayDiscardThePanelWhoseKeyItHandles) {
    registry.AddPanel("evPanel", [this](int p, int e, void*, int key, int) {
        if (e == EVENT_KEYPRESS && key == VAL_ENTER_VKEY) rt.DiscardPanel(p);
        return 0;
    });
    Load(R"({ "panels": [ { "name": "P", "callback": "evPanel", "controls": [
        { "kind": "numeric", "name": "N" } ] } ] })");
    QPointer<QWidget> window = fe.PanelWindow(panel);
    auto* n = Widget<QSpinBox>("N");
    ASSERT_TRUE(n->hasFocus());
    QTest::keyClick(n, Qt::Key_5);
    QTest::keyClick(n, Qt::Key_Return);  // the typed value has nowhere to go now
    EXPECT_EQ(fe.PanelWindow(panel), nullptr);
    EXPECT_EQ(rt.GetPanel(panel), nullptr);
    EXPECT_FALSE(window.isNull());  // not inside its own event handler
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(QtWidgets, TheLoopEndsWithTheValueGivenToQuitAndAPopupAfterItWaitsForItsAnswer) {
    rt.QuitUserInterface(7);  // before the loop: it returns at once
    EXPECT_EQ(rt.RunUserInterface(), 7);
    int answer = -1;
    registry.AddControl("evTick", [this, &answer](int p, int control, int e, void*, int, int) {
        if (e != EVENT_TIMER_TICK) return 0;
        rt.SetCtrlAttribute(p, control, ATTR_ENABLED, 0);
        rt.QuitUserInterface(4);
        // The program's last word before it ends: it must stay up until answered.
        WhenModal(
            [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); });
        answer = rt.ConfirmPopup("", "Launch failed");
        return 0;
    });
    // The timer starts once the window is up: a tick while Load waits for the window would
    // put the popup in front of it before it is active.
    Load(R"({ "panels": [ { "name": "P", "controls": [
        { "kind": "timer", "name": "T", "interval": 0.02, "enabled": false,
          "callback": "evTick" } ] } ] })");
    rt.SetCtrlAttribute(panel, Id("T"), ATTR_ENABLED, 1);
    EXPECT_EQ(rt.RunUserInterface(), 4);
    EXPECT_EQ(answer, 1);
}

TEST_F(QtWidgets, PopupsReturnWhatTheUserAnswered) {
    Load(R"({ "panels": [ { "name": "P", "charset": 136 } ] })");
    QString shown;
    WhenModal([&shown](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        shown = box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(rt.ConfirmPopup("\xB6\x7D\xA9\x6C", "Save?"), 1);
    EXPECT_EQ(shown, U("開始|Save?"));
    WhenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
    EXPECT_EQ(rt.ConfirmPopup("t", "Save?"), 0);

    // A folder of its own, holding only the one file.
    std::string pattern = ::testing::TempDir() + "qt_popups_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string dir = pattern + "/";
    std::ofstream(dir + "existing.txt") << "x";
    FileSelectRequest request;
    request.defaultDirectory = dir;
    request.fileTypeList = "*.txt";
    std::string path = "unchanged";
    WhenModal([](QWidget* w) { qobject_cast<QFileDialog*>(w)->reject(); });
    EXPECT_EQ(rt.FileSelectPopup(request, &path), VAL_NO_FILE_SELECTED);
    EXPECT_EQ(path, "unchanged");
    // The name goes where the user types it; the list may still be loading.
    auto typeAndAccept = [](const char* name) {
        return [name](QWidget* w) {
            auto* edit = w->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(edit, nullptr);
            edit->setText(name);
            static_cast<QDialog*>(w)->accept();  // the dialog checks the name as for a click
        };
    };
    WhenModal(typeAndAccept("existing.txt"));
    EXPECT_EQ(rt.FileSelectPopup(request, &path), VAL_EXISTING_FILE_SELECTED);
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).fileName(), "existing.txt");
    request.saveButton = true;
    WhenModal(typeAndAccept("fresh.txt"));
    EXPECT_EQ(rt.FileSelectPopup(request, &path), VAL_NEW_FILE_SELECTED);
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).fileName(), "fresh.txt");
}

// Every text of the configurator's language database and of Scan's language table reaches the
// screen as the Chinese it stands for: its Big5 or GB2312 bytes, decoded in the charset the
// program gives its panel, are the same characters (none taken for UTF-8, none lost to U+FFFD).
struct Variant {
    int language;
    int charset;
    sys::CodePage page;
};
const Variant kVariants[] = {{1, ui::VAL_BIG5_CHARSET, sys::CodePage::Big5},
                             {2, ui::VAL_GB2312_CHARSET, sys::CodePage::Gb2312}};

// bytes of text `id` in the variant's language, shown in its charset, are what they encode.
void ExpectShownAsEncoded(int id, const Variant& v, const std::string& bytes) {
    std::string utf8;
    ASSERT_FALSE(bytes.empty()) << id;
    ASSERT_EQ(sys::ToUtf8(bytes, v.page, &utf8), 0) << id;
    const QString shown = qtfe::DecodeText(bytes, v.charset);
    EXPECT_EQ(shown, QString::fromStdString(utf8)) << id << " in language " << v.language;
    EXPECT_FALSE(shown.contains(QChar(0xFFFD))) << id;
}

TEST(LanguageDatabaseOnScreen,
     EveryChineseTextOfTheConfiguratorsAndOfScanDecodesInItsPanelCharset) {
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    conf::Context ctx{rt, launcher, conf::ModelA()};
    for (int id : conf::LangTextIds()) {
        std::string english;
        conf::LangS::DataBase(ctx, id, conf::kLangEnglish, &english);
        EXPECT_EQ(qtfe::DecodeText(english, ui::VAL_BIG5_CHARSET), QString::fromStdString(english));
        for (const Variant& v : kVariants) {
            std::string bytes;
            conf::LangS::DataBase(ctx, id, v.language, &bytes);
            ExpectShownAsEncoded(id, v, bytes);
        }
    }
    EXPECT_TRUE(fe.Popups().empty());
    for (int id : scan::ScanTextIds()) {
        if (id == 0) continue;  // the empty status text
        for (const Variant& v : kVariants) {
            std::string bytes;
            scan::LangS::DataBase(id, v.language, &bytes);
            ExpectShownAsEncoded(id, v, bytes);
        }
    }
}

// A popup's path is the file system's UTF-8 even where the same bytes would pass for text of
// the panel's code page, as the UTF-8 of "база" passes for four GB2312 characters.
TEST(PopupText, APathShowsAsTheFileSystemNamesItUnderEveryCharset) {
    const std::string text = "open file NG :: /home/база/1.txt";
    std::string gb;
    ASSERT_EQ(sys::ToUtf8(text, sys::CodePage::Gb2312, &gb), 0);
    EXPECT_NE(QString::fromStdString(gb), QString::fromStdString(text));
    for (int charset : {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET, ui::VAL_GB2312_CHARSET})
        EXPECT_EQ(qtfe::DecodePopupText(text, charset), QString::fromStdString(text)) << charset;
    // Bytes that are no UTF-8 are the language database's, in the panel's code page.
    EXPECT_EQ(qtfe::DecodePopupText("\xB6\x7D\xA9\x6C", ui::VAL_BIG5_CHARSET), U("開始"));
}

// The cases the behaviour tests do not reach through real key events.
TEST(QtKeyCodes, ModifiersFollowTheKeyKind) {
    using qtfe::RuntimeKeyCode;
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_Enter, Qt::KeypadModifier, "\r"), VAL_ENTER_VKEY);
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_F3, Qt::ShiftModifier, ""), 0x1200 | VAL_SHIFT_MODIFIER);
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_Backtab, Qt::NoModifier, ""),
              VAL_TAB_VKEY | VAL_SHIFT_MODIFIER);
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier, "\x0f"),
              'O' | VAL_MENUKEY_MODIFIER);
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_A, Qt::ShiftModifier, "A"), 'A');  // characters carry no Shift
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_Shift, Qt::ShiftModifier, ""), 0);
    EXPECT_EQ(RuntimeKeyCode(Qt::Key_unknown, Qt::NoModifier, U("開")), 0);
}

// The files an unattended run saves its screenshots in.
TEST(ScreenshotFiles, TheNumberGoesBeforeTheExtensionOfTheFileNotOfAFolder) {
    EXPECT_EQ(qtfe::NumberedPath("/tmp/shots/tarnel.png", 1), "/tmp/shots/tarnel.png");
    EXPECT_EQ(qtfe::NumberedPath("/tmp/shots/tarnel.png", 2), "/tmp/shots/tarnel-2.png");
    EXPECT_EQ(qtfe::NumberedPath("demo.png", 12), "demo-12.png");
    EXPECT_EQ(qtfe::NumberedPath("/tmp/run.d/shot", 3), "/tmp/run.d/shot-3");
    EXPECT_EQ(qtfe::NumberedPath("shot", 2), "shot-2");
    EXPECT_EQ(qtfe::NumberedPath("a.b/c.d.png", 2), "a.b/c.d-2.png");
}

// A panel's window on a screen smaller than the panel: the canvas keeps the panel's size and
// the controls their coordinates, the window fits the screen with its menu bar on it, and
// scrolls to what does not fit.
using qtfe::PanelWindow;

// What shows of `w` in the scroll area's viewport, in viewport coordinates.
QRect Shown(const PanelWindow& window, const QWidget* w) {
    const QWidget* viewport = window.ScrollArea()->viewport();
    const QRect at(w->mapTo(viewport, QPoint(0, 0)), w->size());
    return at.intersected(viewport->rect());
}

class PanelWindowFit : public ::testing::Test {
  protected:
    PanelWindowFit() { window.MenuBar()->addMenu("File")->addAction("Exit"); }
    PanelWindow window{1030, 830, true};
};

TEST_F(PanelWindowFit, TheInitialSizeIsThePanelWhereTheScreenHasRoomAndFitsWhereNot) {
    const int bar = window.MenuBar()->sizeHint().height();
    ASSERT_GT(bar, 0);
    EXPECT_EQ(window.FullSize(), QSize(1030, 830 + bar));
    const QSize frame = qtfe::kFrameAllowance;
    const int barWidth = window.ScrollArea()->verticalScrollBar()->sizeHint().width();
    const int barHeight = window.ScrollArea()->horizontalScrollBar()->sizeHint().height();
    ASSERT_GT(barWidth, 0);

    const QRect large(0, 0, 1920, 1200);
    window.FitInto(large);
    EXPECT_EQ(window.size(), QSize(1030, 830 + bar));
    EXPECT_EQ(window.CentredIn(large),
              QPoint((1920 - 1030 - frame.width()) / 2, (1200 - 830 - bar - frame.height()) / 2));

    // 1366x768 less a desktop panel of 28 pixels: the height is cut, and the width takes the
    // vertical scroll bar so that no horizontal one is needed. Frame and all, the window
    // fills the height from the desktop panel down.
    const QRect laptop(0, 28, 1366, 740);
    window.FitInto(laptop);
    EXPECT_EQ(window.size(), QSize(1030 + barWidth, 740 - frame.height()));
    EXPECT_EQ(window.CentredIn(laptop), QPoint((1366 - 1030 - barWidth - frame.width()) / 2, 28));

    // Both sides cut: the room each way, frame included, and no more.
    const QRect small(100, 50, 800, 600);
    window.FitInto(small);
    EXPECT_EQ(window.size(), QSize(800, 600) - frame);
    EXPECT_EQ(window.CentredIn(small), QPoint(100, 50));

    // Only the width cut: the height takes the horizontal scroll bar.
    const QRect narrow(0, 0, 700, 1200);
    window.FitInto(narrow);
    EXPECT_EQ(window.size(), QSize(700 - frame.width(), 830 + bar + barHeight));

    PanelWindow bare(200, 100, false);
    EXPECT_EQ(bare.MenuBar(), nullptr);
    EXPECT_EQ(bare.FullSize(), QSize(200, 100));
    bare.FitInto(laptop);
    EXPECT_EQ(bare.size(), QSize(200, 100));
}

TEST_F(PanelWindowFit, ASmallerWindowKeepsTheCanvasScrollsToItsFarCornerAndFollowsTheFocus) {
    auto* corner = new QLabel("corner", window.Canvas());
    corner->setGeometry(1000, 800, 30, 30);
    // Buttons: a text field would be scrolled to its text cursor only. The first in the focus
    // chain is in sight.
    auto* first = new QPushButton("Read", window.Canvas());
    first->setGeometry(10, 10, 100, 24);
    auto* far = new QPushButton("Write", window.Canvas());
    far->setGeometry(900, 780, 100, 24);
    window.resize(500, 400);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    EXPECT_EQ(window.size(), QSize(500, 400));
    EXPECT_EQ(window.Canvas()->size(), QSize(1030, 830));
    EXPECT_EQ(corner->pos(), QPoint(1000, 800));
    EXPECT_EQ(window.MenuBar()->mapTo(&window, QPoint(0, 0)), QPoint(0, 0));
    EXPECT_TRUE(window.MenuBar()->isVisible());
    EXPECT_TRUE(Shown(window, corner).isEmpty());

    QScrollBar* across = window.ScrollArea()->horizontalScrollBar();
    QScrollBar* down = window.ScrollArea()->verticalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    ASSERT_GT(down->maximum(), 0);
    across->setValue(across->maximum());
    down->setValue(down->maximum());
    EXPECT_EQ(Shown(window, corner).size(), corner->size());
    EXPECT_EQ(corner->pos(), QPoint(1000, 800));  // the view moved, not the control

    // The view follows the focus to a control out of sight (the first one had it from the
    // start), and back.
    ASSERT_TRUE(first->hasFocus());
    far->setFocus();
    first->setFocus();
    EXPECT_EQ(Shown(window, first).size(), first->size());
    EXPECT_TRUE(Shown(window, far).isEmpty());
    far->setFocus();
    EXPECT_EQ(Shown(window, far).size(), far->size());
}

// Through the front end: a panel larger than the screen comes up inside the screen's
// available area, menu bar included, with its canvas at the panel's size.
TEST_F(QtWidgets, APanelLargerThanTheScreenOpensInsideIt) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int width = available.width() + 300;
    const int height = available.height() + 200;
    std::ostringstream json;
    json << R"({ "panels": [ { "name": "P", "width": )" << width << R"(, "height": )" << height
         << R"(, "menubar": { "menus": [ { "name": "FILE", "label": "__File", "items": [
          { "name": "EXIT", "label": "E__xit" } ] } ] },
        "controls": [ { "kind": "textmsg", "name": "FAR", "value": "far", "left": )"
         << width - 60 << R"(, "top": )" << height - 30 << R"( } ] } ] })";
    Load(json.str());
    auto* window = static_cast<PanelWindow*>(fe.PanelWindow(panel));

    EXPECT_EQ(window->Canvas()->size(), QSize(width, height));
    EXPECT_EQ(window->size(), available.size() - qtfe::kFrameAllowance);
    EXPECT_TRUE(available.contains(window->frameGeometry())) << window->frameGeometry().y();
    EXPECT_TRUE(available.contains(window->MenuBar()->mapToGlobal(QPoint(0, 0))));
    EXPECT_EQ(Widget("FAR")->pos(), QPoint(width - 60, height - 30));
}

// The window's size is taken once the menu bar has its captions, so a panel that fits the
// screen shows whole, without scroll bars.
TEST_F(QtWidgets, APanelThatFitsOpensWholeWithItsMenuBar) {
    Load(R"({ "panels": [ { "name": "P", "width": 300, "height": 200,
        "menubar": { "menus": [ { "name": "FILE", "label": "__File", "items": [
          { "name": "EXIT", "label": "E__xit" } ] } ] } } ] })");
    auto* window = static_cast<PanelWindow*>(fe.PanelWindow(panel));
    const int bar = window->MenuBar()->height();
    EXPECT_GE(bar, QFontMetrics(window->MenuBar()->font()).height());
    EXPECT_EQ(window->size(), QSize(300, 200 + bar));
    EXPECT_EQ(window->ScrollArea()->viewport()->size(), QSize(300, 200));
    EXPECT_FALSE(window->ScrollArea()->verticalScrollBar()->isVisible());
    EXPECT_FALSE(window->ScrollArea()->horizontalScrollBar()->isVisible());
}

// Chart controls on the desktop: a QChartView whose line segments break at gaps, follow the
// window and the data, and stay few; and a trend panel that is a window of its own.
class QtChart : public qttest::QtPanelTest {
  protected:
    void SetUp() override {
        const std::string json = R"({ "panels": [
          { "name": "MAIN", "title": "Main", "width": 200, "height": 100, "controls": [
              { "kind": "numeric", "name": "LEVEL" } ] },
          { "name": "TREND", "title": "Trend", "left": 240, "top": 10, "width": 420,
            "height": 260, "controls": [
              { "kind": "chart", "name": "CHART", "label": "Level", "window": 60,
                "capacity": 100, "precision": 1, "width": 420, "height": 260 } ] } ] })";
        main = LoadFrom(json, "MAIN");
        trend = LoadFrom(json, "TREND");
        ASSERT_GT(trend, 0) << rt.LastError();
        chart = rt.FindCtrl(trend, "CHART");
        view = dynamic_cast<qtfe::ChartView*>(fe.ControlWidget(trend, chart));
        ASSERT_NE(view, nullptr);
    }
    // The points of each segment, as model x (seconds).
    std::vector<std::vector<double>> Xs() const {
        std::vector<std::vector<double>> out;
        for (const QLineSeries* s : view->Segments()) {
            out.emplace_back();
            for (int i = 0; i < s->count(); ++i)
                out.back().push_back(s->at(i).x());
        }
        return out;
    }

    int main = 0, trend = 0, chart = 0;
    qtfe::ChartView* view = nullptr;
};

TEST_F(QtChart, PointsFormSegmentsThatBreakAtAGapAndTheAxesFollow) {
    EXPECT_TRUE(view->Segments().empty());
    EXPECT_EQ(view->chart()->title(), "Level");
    EXPECT_EQ(view->YAxis()->labelFormat(), "%.1f");
    // Before any point: one window from midnight.
    EXPECT_EQ(std::pair(view->XAxis()->min(), view->XAxis()->max()), std::pair(0.0, 60.0));

    for (int i = 0; i < 5; ++i)
        rt.ChartAddPoint(trend, chart, 100 + i, 20.0 + i);
    rt.ChartAddGap(trend, chart, 105);
    rt.ChartAddGap(trend, chart, 106);
    rt.ChartAddPoint(trend, chart, 107, 30.0);
    rt.ChartAddPoint(trend, chart, 108, 10.0);
    EXPECT_EQ(Xs(), (std::vector<std::vector<double>>{{100, 101, 102, 103, 104}, {107, 108}}));
    ASSERT_EQ(view->Segments().size(), 2u);
    EXPECT_EQ(view->Segments()[0]->at(4).y(), 24.0);
    // One colour for the whole line, however many segments it has.
    EXPECT_EQ(view->Segments()[0]->pen().color(), view->Segments()[1]->pen().color());
    EXPECT_EQ(std::pair(view->XAxis()->min(), view->XAxis()->max()), std::pair(48.0, 108.0));
    // The time of day at round steps, as many as the width has room for (420 px: 4).
    EXPECT_EQ(view->XAxis()->categoriesLabels(), (QStringList{"00:01:00", "00:01:30"}));
    // y: the data's extent and 5 % of it either side.
    EXPECT_DOUBLE_EQ(view->YAxis()->min(), 9.0);
    EXPECT_DOUBLE_EQ(view->YAxis()->max(), 31.0);
    // The labels' time of day wraps at midnight both ways.
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(9 * 3600 + 5 * 60 + 7.9), "09:05:07");
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(86400 + 5), "00:00:05");
    EXPECT_EQ(qtfe::ChartView::TimeOfDay(-1), "23:59:59");

    // A lone value between two gaps shows as a dot.
    rt.ChartAddGap(trend, chart, 109);
    rt.ChartAddPoint(trend, chart, 110, 15.0);
    ASSERT_EQ(view->Segments().size(), 3u);
    EXPECT_TRUE(view->Segments()[2]->pointsVisible());
    EXPECT_FALSE(view->Segments()[1]->pointsVisible());

    rt.SetCtrlAttribute(trend, chart, ATTR_PRECISION, 3);
    EXPECT_EQ(view->YAxis()->labelFormat(), "%.3f");
    rt.ChartClear(trend, chart);
    EXPECT_TRUE(view->Segments().empty());
}

TEST_F(QtChart, OnlyTheWindowIsKeptAndAWiderWindowBringsBackWhatTheModelHolds) {
    // Two minutes at one point a second into a one-minute window.
    for (int i = 0; i < 120; ++i)
        rt.ChartAddPoint(trend, chart, i, i < 30 ? 1000.0 : i);
    auto xs = Xs();
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_EQ(xs[0].size(), 61u);  // 59 on the left edge .. 119
    EXPECT_EQ(xs[0].front(), 59);
    // Half a second on, 60 lies left of the window and stays to draw the line into its edge.
    rt.ChartAddPoint(trend, chart, 120.5, 120.0);
    xs = Xs();
    EXPECT_EQ(xs[0].size(), 61u);
    EXPECT_EQ(xs[0].front(), 60);
    EXPECT_EQ(xs[0].back(), 120.5);
    // The 1000s left the view long ago and no longer stretch the y axis.
    EXPECT_LT(view->YAxis()->max(), 130.0);
    EXPECT_GT(view->YAxis()->min(), 50.0);

    // The model keeps its capacity of 100: a ten-minute window shows those, no more.
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 600.0);
    xs = Xs();
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_EQ(xs[0].size(), 100u);
    EXPECT_EQ(xs[0].front(), 21);
    EXPECT_EQ(view->XAxis()->min(), 120.5 - 600);
    EXPECT_EQ(view->XAxis()->categoriesLabels(),
              (QStringList{"23:55:00", "00:00:00"}));  // x before 0 is the day before
    EXPECT_DOUBLE_EQ(view->YAxis()->max(), 1000.0 + (1000.0 - 30.0) * 0.05);
    // Past the capacity the view drops what the model dropped.
    rt.ChartAddPoint(trend, chart, 121, 50.0);
    EXPECT_EQ(Xs()[0].front(), 22);
    EXPECT_EQ(Xs()[0].size(), 100u);
}

TEST_F(QtChart, AFlickeringSensorKeepsTheNumberOfSegmentsBounded) {
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_CAPACITY, 10000);
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 100000.0);
    for (int i = 0; i < 1000; ++i) {
        rt.ChartAddPoint(trend, chart, 2 * i, i);
        rt.ChartAddGap(trend, chart, 2 * i + 1);
    }
    EXPECT_EQ(static_cast<int>(view->Segments().size()), qtfe::ChartView::kMaxSegments);
    EXPECT_EQ(Xs().back(), std::vector<double>{1998});
    EXPECT_EQ(view->chart()->series().size(), qtfe::ChartView::kMaxSegments);
    // Shown anew (a new window), the bound holds as well.
    rt.SetCtrlAttribute(trend, chart, ATTR_CHART_WINDOW, 200000.0);
    EXPECT_EQ(view->chart()->series().size(), qtfe::ChartView::kMaxSegments);
    EXPECT_EQ(Xs().back(), std::vector<double>{1998});
}

TEST_F(QtChart, TheTrendIsAWindowOfItsOwnThatShowsAndHides) {
    rt.DisplayPanel(main);
    rt.DisplayPanel(trend);
    QWidget* trendWindow = fe.PanelWindow(trend);
    ASSERT_NE(trendWindow, nullptr);
    ASSERT_NE(trendWindow, fe.PanelWindow(main));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(trendWindow));
    EXPECT_EQ(trendWindow->windowTitle(), "Trend");
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->size(), QSize(420, 260));

    rt.HidePanel(trend);
    EXPECT_FALSE(trendWindow->isVisible());
    EXPECT_TRUE(fe.PanelWindow(main)->isVisible());
    // Points added while it is hidden are there when it shows again.
    rt.ChartAddPoint(trend, chart, 1, 1.0);
    rt.ChartAddPoint(trend, chart, 2, 2.0);
    rt.DisplayPanel(trend);
    EXPECT_TRUE(trendWindow->isVisible());
    EXPECT_EQ(Xs(), (std::vector<std::vector<double>>{{1, 2}}));

    rt.DiscardPanel(trend);
    EXPECT_EQ(fe.PanelWindow(trend), nullptr);
    EXPECT_TRUE(fe.PanelWindow(main)->isVisible());
}

}  // namespace
