#include "platform/qt/desktop_capture.h"

#include <filesystem>
#include <system_error>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace qtfe {

namespace {

constexpr int kScreenshotDelayMs = 1500;
constexpr int kAfterKeyDelayMs = 800;

// Presses and releases a key the way the keyboard would, on the widget that has the focus.
void Press(const std::string& name) {
    const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(name));
    // "click:NAME" presses the button of that role name, as a mouse click would.
    if (name.rfind("click:", 0) == 0) {
        const QString role = QString::fromStdString(name.substr(6));
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* button = top->findChild<QAbstractButton*>(role)) {
                button->click();
                return;
            }
        std::fprintf(stderr, "screenshot click: no button %s\n", name.c_str() + 6);
        return;
    }
    if (sequence.isEmpty()) {
        std::fprintf(stderr, "screenshot key not understood: %s\n", name.c_str());
        return;
    }
    const QKeyCombination key = sequence[0];
    // An open menu takes the keys first, as it does from the keyboard.
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    // A plain character carries its text too: menus find their mnemonics by it.
    const bool plain = key.keyboardModifiers() == Qt::NoModifier && key.key() < Qt::Key_Escape;
    const QString text = plain ? QString(QChar(key.key())).toLower() : QString();
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers(), text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers(), text);
    if (QWidget* now = QApplication::focusWidget()) QApplication::sendEvent(now, &release);
}

}  // namespace

std::string NumberedPath(const std::string& path, size_t n) {
    if (n == 1) return path;
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    // A dot in a folder name is no extension.
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const size_t stem = hasExtension ? dot : path.size();
    // Built by appending: GCC 12 warns falsely (-Wrestrict) about operator+ on temporaries.
    std::string out(path, 0, stem);
    out += '-';
    out += std::to_string(n);
    out.append(path, stem, std::string::npos);
    return out;
}

namespace {

// This program's file name: a run of several programs (the scanner starting a configurator)
// gives each its own settings and screenshot names.
std::string ProgramName() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.filename().string();
}

// NAME_<program> when it is set, else NAME.
const char* Setting(const std::string& name, const std::string& program) {
    if (!program.empty())
        if (const char* own = std::getenv((name + "_" + program).c_str())) return own;
    return std::getenv(name.c_str());
}

}  // namespace

DesktopCapture::DesktopCapture() {
    const std::string program = ProgramName();
    if (const char* shot = Setting("SUITE_SCREENSHOT", program)) path_ = shot;
    // "%p" in the screenshot name stands for the program.
    if (const size_t at = path_.find("%p"); at != std::string::npos) path_.replace(at, 2, program);
    if (const char* keys = Setting("SUITE_SCREENSHOT_KEYS", program)) {
        std::istringstream in(keys);
        for (std::string k; in >> k;)
            keys_.push_back(k);
    }
    if (const char* quit = Setting("SUITE_QUIT_AFTER", program)) {
        char* end = nullptr;
        const double seconds = std::strtod(quit, &end);
        if (end != quit && *end == '\0' && seconds > 0 && std::isfinite(seconds))
            quitAfter_ = seconds;
    }
}

void DesktopCapture::Start(QObject* context, std::function<void()> quit) {
    if (quitAfter_ <= 0) return;
    QTimer::singleShot(static_cast<int>(std::lround(quitAfter_ * 1000)), context,
                       [quit = std::move(quit)] {
                           // A message box would keep its own loop running: close every one first.
                           while (QWidget* modal = QApplication::activeModalWidget()) {
                               if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                                   dialog->reject();
                               } else {
                                   modal->close();
                               }
                               QApplication::processEvents();
                               if (QApplication::activeModalWidget() == modal) break;
                           }
                           quit();
                       });
}

void DesktopCapture::WindowShown(QWidget* window, QObject* context) {
    if (path_.empty() || shotArmed_) return;
    shotArmed_ = true;
    window_ = window;
    QTimer::singleShot(kScreenshotDelayMs, context, [this, context] { Shoot(0, context); });
}

void DesktopCapture::Shoot(size_t index, QObject* context) {
    Save(NumberedPath(path_, index + 1));
    if (index >= keys_.size()) return;
    Press(keys_[index]);
    QTimer::singleShot(kAfterKeyDelayMs, context,
                       [this, index, context] { Shoot(index + 1, context); });
}

bool DesktopCapture::Save(const std::string& path) const {
    QPixmap shot;
    if (QScreen* screen = QGuiApplication::primaryScreen()) shot = screen->grabWindow(0);
    // Platforms without a screen to grab (offscreen) still have the window's own pixels.
    if (shot.isNull() && window_) shot = window_->grab();
    if (!shot.isNull() && shot.save(QString::fromStdString(path), "PNG")) {
        std::printf("screenshot saved: %s\n", path.c_str());
        std::fflush(stdout);
        return true;
    }
    std::fprintf(stderr, "screenshot failed: %s\n", path.c_str());
    return false;
}

}  // namespace qtfe
