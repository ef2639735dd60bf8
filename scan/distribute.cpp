#include "scan/distribute.h"

#include "link/port_open.h"
#include "link/port_settings.h"
#include "log/log_errors.h"
#include "models/registry.h"
#include "scan/scan_dev.h"
#include "scan/scan_log.h"
#include "scan/shell.h"

namespace scan {

int mf_Port_Dev__Record(ScanContext&, int port, int baudIndex, int parity, int dataBits,
                        int stopBits, unsigned mcode) {
    return conf::fn_Write_Port_Settings(port, baudIndex, parity, dataBits, stopBits, mcode) < 0 ? -1
                                                                                                : 0;
}

int fn_Distribute(ScanContext& ctx) {
    conf::PortSettings settings;
    std::string problem;
    const int read = conf::fn_Read_Port_Settings(&settings, conf::kPortFieldsAll, &problem);
    if (!problem.empty()) conf::WriteFileProblem(ctx.gpLog, conf::kComDevUseFile, problem);
    if (read < 0) {
        fn_err_Open_File(ctx, kScanDevModule, kTagDistribute, kComDevUse);
        return -1;
    }
    // The file decides, so what the configurator will read is what chose it.
    const conf::Model* model =
        conf::ModelOfHardwareCode(static_cast<int>(settings.mcode >> 8 & 0xFF));
    if (model == nullptr) {
        ctx.ui.MessagePopup("", "Device HW model unknown");
        return 0;
    }
    G1__exit(ctx);
    // The panels' old program name, which the launcher resolves to the sibling program.
    ctx.gr = ctx.launcher.Launch(std::string(model->id.programName) + ".exe", {});
    if (ctx.gr < 0)
        ctx.ui.MessagePopup(kScanDevModule, std::string("Launch ") + model->id.programName + " NG");
    return 0;
}

}  // namespace scan
