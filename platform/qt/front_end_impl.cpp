#include "platform/qt/front_end_impl.h"

#include <QApplication>
#include <QEventLoop>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/qt/popups.h"
#include "platform/qt/text_codec.h"

namespace qtfe {

namespace {

void SetBackground(QWidget* canvas, int rgb) {
    QPalette p = canvas->palette();
    p.setColor(QPalette::Window, QColor(static_cast<QRgb>(rgb)));
    canvas->setPalette(p);
    canvas->setAutoFillBackground(true);
}

int IntervalMs(double seconds) {
    const double ms = std::round(seconds * 1000.0);
    if (!(ms >= 1.0)) return 1;
    return ms >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(ms);
}

// All of the panel where the screen has room for it; on a smaller screen the window fits it
// and scrolls, so that its title and menu bar stay on the screen.
void PlaceWindow(PanelWindow& window, const ui::Panel& p) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(window.FullSize());
        window.move(p.left, p.top);
        return;
    }
    window.FitInto(screen->availableGeometry());
    if (p.left == 0 && p.top == 0) {
        // No position given: the middle of the screen.
        window.move(window.CentredIn(screen->availableGeometry()));
    } else {
        window.move(p.left, p.top);
    }
}

}  // namespace

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    return impl_.FilterEvent(watched, event);
}

FrontEndImpl::FrontEndImpl(int& argc, char** argv) {
    if (!QApplication::instance()) ownedApp_ = std::make_unique<QApplication>(argc, argv);
    // Windows go when the program discards their panels, and the loop ends when it says so.
    QApplication::setQuitOnLastWindowClosed(false);
    context_ = std::make_unique<QObject>();
    filter_ = std::make_unique<InputFilter>(*this);
    qApp->installEventFilter(filter_.get());
    QObject::connect(qApp, &QApplication::focusChanged, context_.get(),
                     [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
    capture_.Start(context_.get(), [this] { QuitLoop(0); });
}

FrontEndImpl::~FrontEndImpl() {
    // The runtime may be destroyed already; nothing from here on may reach it.
    runtime_ = nullptr;
    context_.reset();
    filter_.reset();
    controls_.clear();
    menuBars_.clear();
    canvases_.clear();
    windows_.clear();
    for (QPointer<QWidget>& w : doomed_)
        delete w.data();
    doomed_.clear();
}

void FrontEndImpl::Attach(ui::Runtime& runtime) {
    runtime_ = &runtime;
}

void FrontEndImpl::Changed(ui::Change what, int panel, int control) {
    if (runtime_ == nullptr) return;
    ++syncing_;
    switch (what) {
        case ui::Change::PanelLoaded:
            BuildPanel(panel);
            break;
        case ui::Change::PanelDisplayed:
            ShowPanel(panel);
            break;
        case ui::Change::PanelDiscarded:
            DropPanel(panel);
            break;
        case ui::Change::PanelAttribute:
            SyncTree(runtime_->TopPanel(panel));
            break;
        case ui::Change::Control:
            SyncControl(panel, control);
            SyncChart(panel, control, true);
            break;
        case ui::Change::ChartAppend:
            SyncChart(panel, control, false);
            break;
        case ui::Change::Timer:
            SyncTimer(panel, control);
            break;
        case ui::Change::Focus:
            ApplyFocus();
            break;
        case ui::Change::MenuBar:
            SyncMenus(panel, control);
            break;
    }
    --syncing_;
}

// --- building ---------------------------------------------------------------------------

void FrontEndImpl::BuildPanel(int handle) {
    const ui::Panel* p = runtime_->GetPanel(handle);
    if (!p) return;
    QWidget* canvas = nullptr;
    if (p->parent == 0) {
        auto window = std::make_unique<PanelWindow>(p->width, p->height, p->menuBar != 0);
        window->setProperty(kPanelProperty, handle);
        window->SetCloseHandler([this, handle] {
            if (!Busy()) Call([&] { return runtime_->UserClosePanel(handle); });
        });
        if (const ui::MenuBar* model = runtime_->GetMenuBar(p->menuBar)) {
            const int bar = p->menuBar;
            menuBars_[bar] =
                BuildMenuBar(*model, window->MenuBar(), context_.get(), [this, bar](int id) {
                    if (Busy()) return;
                    Call([&] { return runtime_->UserMenuSelect(bar, id); });
                    SyncMenus(bar, id);  // a checked item unchecked itself; the model decides
                });
        }
        canvas = window->Canvas();
        windows_[handle] = std::move(window);
    } else {
        // A child panel lies on its parent's canvas.
        auto parent = canvases_.find(p->parent);
        if (parent == canvases_.end() || !parent->second) return;
        canvas = new QWidget(parent->second);
        canvas->setGeometry(p->left, p->top, p->width, p->height);
        canvas->hide();
    }
    BuildControls(handle, canvas);
    SyncTree(runtime_->TopPanel(handle));
    // Sized once the menu bar has its captions: they give the bar its height.
    auto window = windows_.find(handle);
    const ui::Panel* top = runtime_->GetPanel(handle);
    if (window != windows_.end() && window->second && top) PlaceWindow(*window->second, *top);
}

void FrontEndImpl::BuildControls(int handle, QWidget* canvas) {
    const ui::Panel* p = runtime_->GetPanel(handle);
    if (!p) return;
    canvases_[handle] = canvas;
    canvas->setProperty(kPanelProperty, handle);
    for (const auto& c : p->controls) {
        ControlView view = CreateControlView(c, canvas);
        if (view.widget) {
            view.widget->setProperty(kPanelProperty, handle);
            view.widget->setProperty(kControlProperty, c.id);
        }
        Wire(handle, c, view);
        RebuildChart(view, c);  // its window from the resource
        controls_[{handle, c.id}] = view;
        if (c.kind != ui::Kind::Tab) continue;
        auto* tabs = static_cast<QTabWidget*>(view.widget.data());
        for (int page : c.pages) {
            auto* pageCanvas = new QWidget;
            tabs->addTab(pageCanvas, QString());
            BuildControls(page, pageCanvas);
        }
    }
}

// --- showing the model ------------------------------------------------------------------

void FrontEndImpl::ShowPanel(int panel) {
    const ui::Panel* p = runtime_->GetPanel(panel);
    if (!p || p->pageIndex >= 0) return;  // pages show with their tab
    auto it = windows_.find(panel);
    if (it == windows_.end()) {
        auto canvas = canvases_.find(panel);
        if (canvas != canvases_.end() && canvas->second) canvas->second->setVisible(p->displayed);
        return;
    }
    PanelWindow* window = it->second.get();
    if (!p->displayed) {
        window->hide();
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
    const int active = runtime_->GetActivePanel();
    if (active > 0 && runtime_->TopPanel(active) == panel) {
        ApplyFocus();
    } else if (QWidget* w = Widget(panel, p->activeCtrl)) {
        w->setFocus(Qt::OtherFocusReason);  // taken up when the window becomes active
    }
    capture_.WindowShown(window, context_.get());
}

void FrontEndImpl::DropPanel(int panel) {
    // The handles are still valid during this call: find the panel and everything below it.
    std::set<int> gone;
    for (int h : runtime_->PanelHandles()) {
        for (const ui::Panel* p = runtime_->GetPanel(h); p;
             p = p->parent ? runtime_->GetPanel(p->parent) : nullptr) {
            if (p->handle == panel) {
                gone.insert(h);
                break;
            }
        }
    }
    for (auto it = controls_.begin(); it != controls_.end();) {
        if (!gone.count(it->first.first)) {
            ++it;
            continue;
        }
        if (it->second.timer) it->second.timer->stop();
        it = controls_.erase(it);
    }
    std::erase_if(pendingCommits_, [&gone](const auto& key) { return gone.count(key.first) > 0; });
    std::erase_if(menuBars_,
                  [&gone](const auto& entry) { return gone.count(entry.second.panel) > 0; });
    QWidget* doomed = nullptr;
    if (auto it = windows_.find(panel); it != windows_.end()) {
        doomed = it->second.release();
        windows_.erase(it);
    } else if (auto canvas = canvases_.find(panel); canvas != canvases_.end()) {
        doomed = canvas->second;
    }
    std::erase_if(canvases_, [&gone](const auto& entry) { return gone.count(entry.first) > 0; });
    std::erase_if(doomed_, [](const QPointer<QWidget>& w) { return w.isNull(); });
    if (!doomed) return;
    // Later: this may run inside an event handler of one of its widgets.
    doomed->hide();
    doomed->deleteLater();
    doomed_.push_back(doomed);
}

void FrontEndImpl::SyncTree(int top) {
    const ui::Panel* topPanel = runtime_->GetPanel(top);
    if (!topPanel) return;
    ++syncing_;
    for (int h : runtime_->PanelHandles()) {
        if (runtime_->TopPanel(h) != top) continue;
        const ui::Panel* p = runtime_->GetPanel(h);
        auto canvas = canvases_.find(h);
        if (canvas != canvases_.end() && canvas->second)
            SetBackground(canvas->second, p->backColor);
        for (const auto& c : p->controls)
            SyncControl(h, c.id);
    }
    if (QWidget* window = Window(top))
        window->setWindowTitle(DecodeText(topPanel->title, topPanel->charset));
    if (topPanel->menuBar) SyncMenus(topPanel->menuBar, 0);
    --syncing_;
}

void FrontEndImpl::SyncControl(int panel, int control) {
    auto it = controls_.find({panel, control});
    const ui::Control* c = runtime_ ? runtime_->GetControl(panel, control) : nullptr;
    if (it == controls_.end() || !c) return;
    ++syncing_;
    const int charset = Charset(panel);
    SyncControlView(it->second, *c, charset);
    if (c->kind == ui::Kind::Tab) {
        auto* tabs = static_cast<QTabWidget*>(it->second.widget.data());
        for (size_t i = 0; tabs && i < c->pages.size(); ++i) {
            const ui::Panel* page = runtime_->GetPanel(c->pages[i]);
            if (!page) continue;
            const std::string& title = page->title.empty() ? page->name : page->title;
            tabs->setTabText(static_cast<int>(i), DecodeText(title, charset));
        }
    }
    if (c->kind == ui::Kind::Timer) SyncTimer(panel, control);
    --syncing_;
}

void FrontEndImpl::SyncChart(int panel, int control, bool rebuild) {
    auto it = controls_.find({panel, control});
    const ui::Control* c = runtime_->GetControl(panel, control);
    if (it == controls_.end() || !c || c->kind != ui::Kind::Chart) return;
    if (rebuild) {
        RebuildChart(it->second, *c);
    } else {
        AppendToChart(it->second, *c);
    }
}

void FrontEndImpl::SyncTimer(int panel, int control) {
    auto it = controls_.find({panel, control});
    const ui::Control* c = runtime_->GetControl(panel, control);
    if (it == controls_.end() || !c || !it->second.timer) return;
    QTimer* timer = it->second.timer;
    if (!c->enabled) {
        timer->stop();
        return;
    }
    const int ms = IntervalMs(c->interval);
    if (!timer->isActive() || timer->interval() != ms) timer->start(ms);
}

void FrontEndImpl::SyncMenus(int menuBar, int item) {
    auto it = menuBars_.find(menuBar);
    const ui::MenuBar* model = runtime_ ? runtime_->GetMenuBar(menuBar) : nullptr;
    if (it == menuBars_.end() || !model) return;
    auto window = windows_.find(it->second.panel);
    QMenuBar* bar =
        window != windows_.end() && window->second ? window->second->MenuBar() : nullptr;
    const int before = bar ? bar->sizeHint().height() : 0;
    ++syncing_;
    SyncMenuBar(it->second, *model, item, Charset(it->second.panel));
    --syncing_;
    // Captions in another script can make the bar taller: the window grows with it, as far as
    // the screen has room, instead of scrolling the panel.
    QScreen* screen = QGuiApplication::primaryScreen();
    if (bar && screen && bar->sizeHint().height() > before)
        window->second->FitInto(screen->availableGeometry());
}

void FrontEndImpl::ApplyFocus() {
    const int panel = runtime_->GetActivePanel();
    if (panel <= 0) return;
    QWidget* target = Widget(panel, runtime_->GetActiveCtrl(panel));
    if (!target) return;
    QWidget* window = target->window();
    if (window->isVisible() && !window->isActiveWindow()) {
        window->raise();
        window->activateWindow();
    }
    target->setFocus(Qt::OtherFocusReason);
}

int FrontEndImpl::Charset(int panel) const {
    // Tab pages and child panels speak their top-level panel's charset.
    const ui::Panel* p = runtime_ ? runtime_->GetPanel(runtime_->TopPanel(panel)) : nullptr;
    return p ? p->charset : ui::VAL_NATIVE_CHARSET;
}

// --- loop, popups, time -------------------------------------------------------------------

int FrontEndImpl::RunLoop() {
    if (quitPending_) {
        quitPending_ = false;
        return quitValue_;
    }
    // A loop of its own rather than the application's: quitting it leaves a message box that
    // a callback opens after asking to quit (a last error report) up until it is answered.
    QEventLoop loop;
    loop_ = &loop;
    const int result = loop.exec();
    loop_ = nullptr;
    return result;
}

void FrontEndImpl::QuitLoop(int value) {
    if (loop_) {
        loop_->exit(value);
        return;
    }
    quitPending_ = true;
    quitValue_ = value;
}

QWidget* FrontEndImpl::DialogParent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    return runtime_ ? Window(runtime_->TopPanel(runtime_->GetActivePanel())) : nullptr;
}

// Popup texts are in the charset of the panel they pop up over: the active one, or else the
// one whose window is active.
int FrontEndImpl::PopupCharset() const {
    int panel = runtime_ ? runtime_->GetActivePanel() : 0;
    if (panel <= 0) panel = TargetOf(QApplication::activeWindow()).panel;
    return Charset(panel);
}

void FrontEndImpl::MessagePopup(const std::string& title, const std::string& text) {
    const int charset = PopupCharset();
    ShowMessage(DialogParent(), DecodePopupText(title, charset), DecodePopupText(text, charset));
}

int FrontEndImpl::ConfirmPopup(const std::string& title, const std::string& text) {
    const int charset = PopupCharset();
    return AskYesNo(DialogParent(), DecodePopupText(title, charset),
                    DecodePopupText(text, charset));
}

int FrontEndImpl::FileSelectPopup(const ui::FileSelectRequest& request, std::string* path) {
    return SelectFile(DialogParent(), request, path);
}

void FrontEndImpl::BeforeDelay() {
    // Paint now; processing events here would run timers and input inside a callback.
    for (auto& [panel, window] : windows_)
        if (window->isVisible()) window->repaint();
}

// --- look-ups -------------------------------------------------------------------------------

QWidget* FrontEndImpl::Window(int panel) const {
    auto it = windows_.find(panel);
    return it == windows_.end() ? nullptr : it->second.get();
}

QWidget* FrontEndImpl::Widget(int panel, int control) const {
    auto it = controls_.find({panel, control});
    return it == controls_.end() ? nullptr : it->second.widget.data();
}

QAction* FrontEndImpl::Action(int menuBar, int item) const {
    auto bar = menuBars_.find(menuBar);
    if (bar == menuBars_.end()) return nullptr;
    auto it = bar->second.actions.find(item);
    return it == bar->second.actions.end() ? nullptr : it->second.data();
}

}  // namespace qtfe
