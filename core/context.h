#pragma once
// What a configurator keeps program-wide, in one object per program run. Every module takes
// it by reference; a test builds a fresh one. The names are the ones the modules use.

#include <csignal>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/sys/clock.h"
#include "platform/sys/launch.h"
#include "platform/sys/log_stream.h"
#include "platform/ui/runtime.h"

namespace serial {
class Rs232;
}

namespace conf {

struct Model;

// gvHW after the device information could not be read: matches no model, so files are
// refused too.
inline constexpr int kModelUnknown = 255;

struct Context {
    Context(ui::Runtime& runtime, sys::Launcher& programLauncher, const Model& instrumentModel)
        : ui(runtime), launcher(programLauncher), model(instrumentModel) {}

    ui::Runtime& ui;
    sys::Launcher& launcher;
    // The instrument model this program serves: its register map and plans (models/).
    const Model& model;
    sys::Clock& clock() { return ui.Clock(); }
    // The serial ports under their logical numbers (the program's one port is 222); none
    // until the program attaches its serial layer.
    serial::Rs232* com = nullptr;
    // Set (non-zero) when a run without a window is to end: from then on no transaction goes
    // out and each fails as unanswered, so the procedure under way ends by its failure path.
    const volatile std::sig_atomic_t* stop = nullptr;

    // "m" + the model's program number + suffix, e.g. Source("__UART") is "m104__UART".
    std::string Source(const char* suffix) const;

    // Event log and its switches.
    sys::LogStream gpLog;
    int gvLogYN = 0;
    int gvdbgYN = 0;
    // Calibration trace ("log_ADC.txt" / "log_PV.txt"), open only while a procedure runs.
    sys::LogStream gpCAL;

    int gr = 0;                 // result of the last instrument operation
    std::uint32_t gsRAM01 = 0;  // selector word of the parameter modules
    int gvHW = 0;               // model code of the instrument (0 until the first check)
    int gvFW = 0;               // firmware version of the instrument
    int giCNT = 0;              // progress counter
    // A process-value record could not be written and that was said; cleared by the next
    // record that succeeds.
    bool pvRecordFailing = false;
    // The clock second the last record is stamped with.
    std::optional<sys::DateTime> pvLastRecord;
    // The trend window (0 until its first point), and what turns the clock's seconds into
    // seconds since the midnight before the first point (the chart shows the time of day).
    int gvTrend = 0;
    std::optional<double> trendOffset;

    // Panels: the main panel and its configuration and calibration pages.
    int gvMain = 0;  // gvG104 in model A, gvG105 in model B
    int gvCFG = 0;
    int gvCAL = 0;
    // The status line on the main panel.
    int msgCtrl = 0;
    // The language of the captions (0 English, 1 Traditional, 2 Simplified Chinese), as the
    // scanner left it; the status line is English whatever it is.
    int gvLANG = 0;
    // The COM number of the settings file the port was last opened with (0: none yet).
    int gvCOM = 0;

    // The exit code a command ended the program with (the return to the scanner); the
    // program returns it once the event loop has stopped. Empty for an ordinary shutdown.
    std::optional<int> exitCode;
};

}  // namespace conf
