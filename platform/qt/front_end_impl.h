#pragma once
// The workings of QtFrontEnd: the runtime's panels mirrored as widgets and kept in step both
// ways. Model to widgets is in front_end_impl.cpp, widgets to runtime in user_input.cpp.
//
// Re-entrancy is the hard part: a callback run by a user-side call may move the focus, change
// any control or discard the very panel whose widget is handling an event. So every runtime
// call is followed by fresh look-ups by handle, windows of discarded panels are deleted later
// (deleteLater), and signals that fire while the model is being shown are not taken as input.

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/control_widgets.h"
#include "platform/qt/desktop_capture.h"
#include "platform/qt/menu_bar_view.h"
#include "platform/qt/panel_window.h"
#include "platform/sys/clock.h"
#include "platform/ui/front_end.h"
#include "platform/ui/runtime.h"

class QAction;
class QApplication;
class QEventLoop;
class QKeyEvent;

namespace qtfe {

// Dynamic properties that tie widgets to the model: the panel handle on every canvas, window
// and control widget, the control id on control widgets, and a mark on list box viewports
// whose mouse releases the runtime hears of.
inline constexpr const char* kPanelProperty = "suitePanel";
inline constexpr const char* kControlProperty = "suiteControl";
inline constexpr const char* kClickUpProperty = "suiteClickUp";

class FrontEndImpl;

// Sees every event of the application first, so keys reach the runtime before any widget.
class InputFilter final : public QObject {
  public:
    explicit InputFilter(FrontEndImpl& impl) : impl_(impl) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FrontEndImpl& impl_;
};

class FrontEndImpl {
  public:
    FrontEndImpl(int& argc, char** argv);
    ~FrontEndImpl();
    FrontEndImpl(const FrontEndImpl&) = delete;
    FrontEndImpl& operator=(const FrontEndImpl&) = delete;

    void Attach(ui::Runtime& runtime);
    void Changed(ui::Change what, int panel, int control);
    int RunLoop();
    void QuitLoop(int value);
    void MessagePopup(const std::string& title, const std::string& text);
    int ConfirmPopup(const std::string& title, const std::string& text);
    int FileSelectPopup(const ui::FileSelectRequest& request, std::string* path);
    void BeforeDelay();
    sys::Clock& Clock() { return clock_; }

    QWidget* Window(int panel) const;
    QWidget* Widget(int panel, int control) const;
    QAction* Action(int menuBar, int item) const;

    bool FilterEvent(QObject* watched, QEvent* event);

  private:
    struct Target {
        int panel = 0;
        int control = 0;  // 0: the panel itself
    };

    // --- model to widgets (front_end_impl.cpp)
    void BuildPanel(int panel);
    void BuildControls(int panel, QWidget* canvas);
    void ShowPanel(int panel);
    void DropPanel(int panel);
    void SyncTree(int top);
    void SyncControl(int panel, int control);
    void SyncTimer(int panel, int control);
    // A chart's points: appended one by one as the program adds them; shown anew on any other
    // change of the chart (a clear, a new window or capacity).
    void SyncChart(int panel, int control, bool rebuild);
    void SyncMenus(int menuBar, int item);
    void ApplyFocus();
    int Charset(int panel) const;
    int PopupCharset() const;
    QWidget* DialogParent() const;

    // --- widgets to the runtime (user_input.cpp)
    // Runs one user-side runtime call; commits left pending meanwhile follow it.
    template <class F>
    int Call(F&& call) {
        ++depth_;
        const int result = call();
        --depth_;
        if (depth_ == 0 && syncing_ == 0) FlushCommits();
        return result;
    }
    void Wire(int panel, const ui::Control& control, const ControlView& view);
    void RequestCommit(int panel, int control);
    void FlushCommits();
    void Commit(int panel, int control);
    bool OnKeyPress(QWidget* receiver, QKeyEvent* event);
    void OnClickUp(QWidget* viewport);
    void OnFocusChanged(QWidget* now);
    Target TargetOf(const QWidget* widget) const;
    bool Busy() const { return runtime_ == nullptr || syncing_ > 0; }

    std::unique_ptr<QApplication> ownedApp_;  // declared first: it goes last
    ui::Runtime* runtime_ = nullptr;
    sys::SystemClock clock_;
    std::unique_ptr<QObject> context_;  // every connection's context: deleting it cuts them all
    std::unique_ptr<InputFilter> filter_;
    std::map<int, std::unique_ptr<PanelWindow>> windows_;  // by top-level panel
    std::map<int, QPointer<QWidget>> canvases_;            // by panel, tab pages included
    std::map<std::pair<int, int>, ControlView> controls_;  // by (panel, control)
    std::map<int, MenuBarView> menuBars_;                  // by menu bar handle
    std::vector<QPointer<QWidget>> doomed_;                // discarded, awaiting deleteLater
    std::set<std::pair<int, int>> pendingCommits_;
    DesktopCapture capture_;
    int depth_ = 0;               // user-side runtime calls in progress
    int syncing_ = 0;             // model changes being shown
    QEventLoop* loop_ = nullptr;  // the running event loop
    bool quitPending_ = false;
    int quitValue_ = 0;
};

}  // namespace qtfe
