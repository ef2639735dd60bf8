#pragma once
// The window of a top-level panel: an optional menu bar over a canvas of the panel's size on
// which its controls sit at their own coordinates.

#include <QWidget>

#include <functional>

class QMenuBar;

namespace qtfe {

class PanelWindow final : public QWidget {
  public:
    PanelWindow(int width, int height, bool withMenuBar);

    QWidget* Canvas() const { return canvas_; }
    QMenuBar* MenuBar() const { return menuBar_; }
    // The close box only reports; whether the panel goes is the program's decision.
    void SetCloseHandler(std::function<void()> handler) { onClose_ = std::move(handler); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* canvas_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    std::function<void()> onClose_;
};

}  // namespace qtfe
