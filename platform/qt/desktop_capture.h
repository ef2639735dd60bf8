#pragma once
// What an unattended run (the desktop smoke test, the demo without a display) asks of a
// program through its environment:
//   SUITE_SCREENSHOT       a PNG file: the screen is saved there about 1.5 s after the first
//                          window shows;
//   SUITE_SCREENSHOT_KEYS  keys such as "F2" (space-separated): after the first screenshot each
//                          one is pressed in turn on the focused widget, and the screen saved
//                          again as <name>-2.png, <name>-3.png, ...;
//   SUITE_QUIT_AFTER       seconds after start-up: open message boxes are closed and the
//                          event loop ends with 0, so nothing waits for a user who is not there.

#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace qtfe {

// The file of the n-th screenshot (from 1): the first is `path` itself, the n-th has "-n"
// before the extension: shot.png, 2 -> shot-2.png.
std::string NumberedPath(const std::string& path, size_t n);

class DesktopCapture {
  public:
    DesktopCapture();  // reads the environment

    // Arms the quit timer at start-up (timers run while `context` is alive).
    void Start(QObject* context, std::function<void()> quit);
    // The first call arms the screenshots.
    void WindowShown(QWidget* window, QObject* context);

  private:
    void Shoot(size_t index, QObject* context);
    bool Save(const std::string& path) const;

    std::string path_;
    std::vector<std::string> keys_;
    double quitAfter_ = 0.0;
    bool shotArmed_ = false;
    QPointer<QWidget> window_;
};

}  // namespace qtfe
