#pragma once
// The window of a top-level panel: an optional menu bar over a canvas of the panel's size on
// which its controls sit at their own coordinates. The canvas keeps that size; it lies in a
// scroll area, so the window can be smaller than the panel (a small screen) and still shows
// its menu bar and all of the panel by scrolling.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>

class QMenuBar;
class QScrollArea;

namespace qtfe {

// Room a window manager may take around a window for its frame and title bar: a window fitted
// to a screen leaves this much of it free.
inline constexpr QSize kFrameAllowance{16, 40};

class PanelWindow final : public QWidget {
  public:
    PanelWindow(int width, int height, bool withMenuBar);

    QWidget* Canvas() const { return canvas_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    QScrollArea* ScrollArea() const { return scroll_; }
    // The size that shows all of the panel: the canvas with the menu bar over it.
    QSize FullSize() const;
    // Resizes the window to its full size, or to as much of it as fits in `available` (a
    // screen's available geometry) with kFrameAllowance to spare; a side that is cut gets room
    // for the scroll bar along the other side, where there is room.
    void FitInto(const QRect& available);
    // Where the window goes so that it and its frame lie in the middle of `available`.
    QPoint CentredIn(const QRect& available) const;
    // The close box only reports; whether the panel goes is the program's decision.
    void SetCloseHandler(std::function<void()> handler) { onClose_ = std::move(handler); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* canvas_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    std::function<void()> onClose_;
};

}  // namespace qtfe
