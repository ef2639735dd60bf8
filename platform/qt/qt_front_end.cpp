#include "platform/qt/qt_front_end.h"

#include "platform/qt/front_end_impl.h"

namespace qtfe {

QtFrontEnd::QtFrontEnd(int& argc, char** argv)
    : impl_(std::make_unique<FrontEndImpl>(argc, argv)) {}

QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::Attach(ui::Runtime& runtime) {
    impl_->Attach(runtime);
}

void QtFrontEnd::Changed(ui::Change what, int panel, int control) {
    impl_->Changed(what, panel, control);
}

int QtFrontEnd::RunLoop() {
    return impl_->RunLoop();
}

void QtFrontEnd::QuitLoop(int value) {
    impl_->QuitLoop(value);
}

void QtFrontEnd::MessagePopup(const std::string& title, const std::string& text) {
    impl_->MessagePopup(title, text);
}

int QtFrontEnd::ConfirmPopup(const std::string& title, const std::string& text) {
    return impl_->ConfirmPopup(title, text);
}

int QtFrontEnd::FileSelectPopup(const ui::FileSelectRequest& request, std::string* path) {
    return impl_->FileSelectPopup(request, path);
}

void QtFrontEnd::BeforeDelay() {
    impl_->BeforeDelay();
}

sys::Clock& QtFrontEnd::Clock() {
    return impl_->Clock();
}

QWidget* QtFrontEnd::PanelWindow(int panel) const {
    return impl_->Window(panel);
}

QWidget* QtFrontEnd::ControlWidget(int panel, int control) const {
    return impl_->Widget(panel, control);
}

QAction* QtFrontEnd::MenuAction(int menuBar, int item) const {
    return impl_->Action(menuBar, item);
}

}  // namespace qtfe
