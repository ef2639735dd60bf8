#pragma once
// The desktop front end of the panel runtime: Qt 6 Widgets. Programs construct it and hand it
// to ui::Runtime; nothing else of Qt shows through this header.
//
//   int main(int argc, char** argv) {
//       qtfe::QtFrontEnd frontEnd(argc, argv);
//       ui::Runtime runtime(frontEnd, registry);
//       ...
//   }
//
// Each top-level panel becomes a window whose canvas has the panel's size (the window scrolls
// when the screen is smaller), each control a widget at its own coordinates. The model is the
// truth: every change the runtime reports is shown at once, and what the user does goes to the
// runtime's User... calls, after which the widget shows the model again (so a program can refuse or
// correct an input). Keys go to UserKeyPress before the widget sees them. All of it runs on the
// thread that created the QApplication.

#include <memory>
#include <string>

#include "platform/sys/clock.h"
#include "platform/ui/front_end.h"

class QAction;
class QWidget;

namespace qtfe {

class FrontEndImpl;

class QtFrontEnd final : public ui::FrontEnd {
  public:
    // Creates the QApplication from argc and argv unless one exists already, in which case it
    // uses that one and ignores them. argc must outlive the front end, as QApplication needs.
    QtFrontEnd(int& argc, char** argv);
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    void Attach(ui::Runtime& runtime) override;
    void Changed(ui::Change what, int panel, int control) override;
    // QApplication::exec(); returns the value given to QuitLoop (at once when QuitLoop came
    // before the loop started).
    int RunLoop() override;
    void QuitLoop(int value) override;
    void MessagePopup(const std::string& title, const std::string& text) override;
    int ConfirmPopup(const std::string& title, const std::string& text) override;
    int FileSelectPopup(const ui::FileSelectRequest& request, std::string* path) override;
    // Repaints the visible windows so what the program just set shows during the delay.
    void BeforeDelay() override;
    sys::Clock& Clock() override;

    // The widgets behind a panel, for tests and tools; nullptr when there is none.
    QWidget* PanelWindow(int panel) const;  // top-level panels only
    QWidget* ControlWidget(int panel, int control) const;
    QAction* MenuAction(int menuBar, int item) const;

  private:
    std::unique_ptr<FrontEndImpl> impl_;
};

}  // namespace qtfe
