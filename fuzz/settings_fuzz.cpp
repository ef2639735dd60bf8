// The settings files: "COM_Dev_use.txt" as the configurator's link start and port menu read
// it and as Scan's hand-over reads it back, "YN_log_dbg.txt" as the configurators' and
// Scan's logs read it. Input: byte 0 (low three bits) chooses the reader: 0, 1 the link start
// of model A, B; 2, 3 Scan's hand-over; 4, 5 the configurator's log; 6, 7 Scan's log. The
// rest is the file.

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "log/event_log.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "scan/distribute.h"
#include "scan/scan_log.h"
#include "session/port_dev.h"
#include "session/uart.h"

namespace {

void Configurator(int which, const std::string& file) {
    fuzz::Configurator c(which == 0 ? conf::ModelA() : conf::ModelB());
    if (fuzz::LoadLinkPanel(c) < 0) __builtin_trap();
    c.ctx.gpLog.Open("log.txt", "w");
    c.ctx.gvLogYN = 1;
    c.ctx.gvdbgYN = 1;
    fuzz::WriteFile(conf::kComDevUseFile, file);
    conf::UART::init(c.ctx);
    conf::mf_Port_Dev__Reopen_after_BR_RTU_change(c.ctx);
}

void ScanHandOver(const std::string& file) {
    fuzz::Scan s;
    s.ctx.gpLog.Open("log.txt", "w");
    fuzz::WriteFile(scan::kComDevUse, file);
    scan::fn_Distribute(s.ctx);
}

void ConfiguratorLog(const std::string& file) {
    fuzz::Configurator c(conf::ModelA());
    fuzz::WriteFile(conf::kLogSwitchFileName, file);
    conf::Log::Create(c.ctx);  // empties the log of the last run
    conf::Log::init(c.ctx);
    conf::logi(c.ctx, "%d\n", c.ctx.gvLogYN);
    conf::dbgi(c.ctx, "%d\n", c.ctx.gvdbgYN);
}

void ScanLog(const std::string& file) {
    fuzz::Scan s;
    fuzz::WriteFile(scan::kLogSwitchFileName, file);
    scan::Log::init(s.ctx);
    scan::Log::Create(s.ctx);
    scan::logi(s.ctx, "%d\n", s.ctx.gvLogYN);
    scan::logs(s.ctx, "%s\n", "logs");
    scan::dbgi(s.ctx, "%d\n", s.ctx.gvdbgYN);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    const int which = in.Byte() & 7;
    const std::string file = in.Rest();
    switch (which) {
        case 0:
        case 1:
            Configurator(which, file);
            break;
        case 2:
        case 3:
            ScanHandOver(file);
            break;
        case 4:
        case 5:
            ConfiguratorLog(file);
            break;
        default:
            ScanLog(file);
            break;
    }
    return 0;
}
