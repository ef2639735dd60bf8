// What only the Qt front end has: decoding of panel charsets (every language text among them),
// captions, widget looks, popups, the event loop, staying sound when a callback discards its
// own panel, and screenshot files.

#include <stdlib.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <fstream>
#include <functional>

#include "core/context.h"
#include "lang/lang_db.h"
#include "models/model_a.h"
#include "platform/qt/desktop_capture.h"
#include "platform/qt/key_codes.h"
#include "platform/qt/led_widget.h"
#include "platform/qt/text_codec.h"
#include "platform/sys/codepage.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "qt_panel_test.h"
#include "scan/lang_table.h"

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

TEST(LanguageDatabaseOnScreen, EveryChineseTextOfTheConfiguratorsDecodesInItsPanelCharset) {
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
}

TEST(LanguageDatabaseOnScreen, EveryChineseTextOfScanDecodesInItsPanelCharset) {
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

}  // namespace
