// A panel's window on a screen smaller than the panel: the canvas keeps the panel's size and
// the controls their coordinates, the window fits the screen with its menu bar on it, and
// scrolls to what does not fit.

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <sstream>

#include "platform/qt/panel_window.h"
#include "qt_panel_test.h"

// Sizes and points as a failure shows them (found by argument lookup, hence outside the
// anonymous namespace; static, so no other test file's twin clashes).
static void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << "x" << s.height();
}
static void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "(" << p.x() << ", " << p.y() << ")";
}

namespace {

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

TEST_F(PanelWindowFit, ASmallerWindowKeepsTheCanvasAndScrollsToItsFarCorner) {
    auto* corner = new QLabel("corner", window.Canvas());
    corner->setGeometry(1000, 800, 30, 30);
    window.resize(500, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

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
}

TEST_F(PanelWindowFit, TheViewFollowsTheFocusToAControlOutOfSight) {
    // Buttons: a text field would be scrolled to its text cursor only.
    auto* far = new QPushButton("Write", window.Canvas());
    far->setGeometry(900, 780, 100, 24);
    auto* first = new QPushButton("Read", window.Canvas());
    first->setGeometry(10, 10, 100, 24);
    window.resize(400, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus();
    EXPECT_TRUE(Shown(window, far).isEmpty());
    far->setFocus();
    EXPECT_EQ(Shown(window, far).size(), far->size());
    first->setFocus();
    EXPECT_EQ(Shown(window, first).size(), first->size());
}

using PanelWindowOnScreen = qttest::QtPanelTest;

// Through the front end: a panel larger than the screen comes up inside the screen's
// available area, menu bar included, with its canvas at the panel's size.
TEST_F(PanelWindowOnScreen, APanelLargerThanTheScreenOpensInsideIt) {
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
TEST_F(PanelWindowOnScreen, APanelThatFitsOpensWholeWithItsMenuBar) {
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

}  // namespace
