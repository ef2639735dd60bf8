#pragma once
// A runtime on the Qt front end, with the panel resource a test writes for it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTest>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/qt/qt_front_end.h"
#include "platform/ui/runtime.h"

namespace qttest {

class QtPanelTest : public ::testing::Test {
  protected:
    ~QtPanelTest() override { std::remove(file_.c_str()); }

    // Panel `name` of the resource `json`, loaded but not shown.
    int LoadFrom(const std::string& json, const char* name) {
        std::ofstream(file_) << json;
        return rt.LoadPanel(0, file_, name);
    }
    // Loads panel "P" of `json`, shows it and waits until its window takes input.
    void Load(const std::string& json) {
        panel = LoadFrom(json, "P");
        ASSERT_GT(panel, 0) << rt.LastError();
        rt.DisplayPanel(panel);
        QWidget* window = fe.PanelWindow(panel);
        ASSERT_NE(window, nullptr);
        // Asked for explicitly and given time: on a loaded machine (sanitizer build, other
        // tests beside) the offscreen platform can take longer than the default 5 s.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window, 30000));
    }
    int Id(const char* name) const { return rt.FindCtrl(panel, name); }
    template <class W = QWidget>
    W* Widget(const char* name) {
        return qobject_cast<W*>(fe.ControlWidget(panel, Id(name)));
    }

    const std::string file_ =
        ::testing::TempDir() + "qt_panel_" + std::to_string(::getpid()) + ".json";
    int argc = 0;  // the test's main made the QApplication
    ui::CallbackRegistry registry;
    qtfe::QtFrontEnd fe{argc, nullptr};
    ui::Runtime rt{fe, registry};
    int panel = 0;
};

}  // namespace qttest
