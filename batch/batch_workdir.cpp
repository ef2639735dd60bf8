#include "batch/batch_workdir.h"

#include <filesystem>

#include "batch/batch_options.h"
#include "link/port_settings.h"
#include "platform/sys/paths.h"
#include "platform/sys/run_tree.h"
#include "scan/scan_dev.h"

namespace batch {

// The line settings Scan forces an instrument to: 19200 baud, 8N2.
using scan::kFixedBaudIndex;
using scan::kFixedDataBits;
using scan::kFixedParity;
using scan::kFixedStopBits;

int EnterWorkdir(const std::string& dir, ui::Runtime& runtime, std::string* error) {
    // The panels: in the build tree beside the program's own folder, wherever it is started
    // from; installed, through the run tree just entered (its gui/ names the share folder).
    const std::string programDir = sys::ProgramDir();
    const std::string panelsBase = sys::InstalledGuiDir(programDir).empty() && !programDir.empty()
                                       ? programDir
                                       : sys::CurrentDir();
    runtime.SetResourceBase(panelsBase);
    if (dir.empty()) return 0;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !sys::IsDirectory(dir)) {
        *error = "working folder " + dir + ": cannot be made (" +
                 (ec ? ec.message() : std::string("not a folder")) + ")";
        return -1;
    }
    if (sys::ChangeDir(dir) < 0) {
        *error = "working folder " + dir + ": cannot be entered";
        return -1;
    }
    return 0;
}

int PreparePortSettings(const std::string& port, const serial::ComMapEnv& env, std::string* error) {
    conf::PortSettings s;
    std::string problem;
    const int read = conf::fn_Read_Port_Settings(&s, conf::kPortFieldsLine, &problem);
    if (port.empty()) {
        if (read < 0) {
            *error = std::string("port: no --port given and ") + conf::kComDevUseFile + " in " +
                     sys::CurrentDir() + " cannot be read";
            return kPortUnknown;
        }
        return 0;
    }
    int com = 0;
    if (ResolvePort(port, env, &com, error) < 0) return kPortUnknown;
    if (read == 0 && problem.empty() && s.com == com) return 0;
    if (conf::fn_Write_Port_Settings(com, kFixedBaudIndex, kFixedParity, kFixedDataBits,
                                     kFixedStopBits, read == 0 ? s.mcode : 0) < 0) {
        *error =
            std::string(conf::kComDevUseFile) + " in " + sys::CurrentDir() + ": cannot be written";
        return kSettingsNotWritten;
    }
    return 0;
}

}  // namespace batch
