#include "scan/scan_dev.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/serial/net_address.h"
#include "platform/serial/serial_error.h"
#include "platform/sys/small_file.h"
#include "platform/ui/constants.h"
#include "scan/com_discovery.h"
#include "scan/distribute.h"
#include "scan/language.h"
#include "scan/modbus_client.h"
#include "scan/scan_link.h"
#include "scan/scan_log.h"

namespace scan {

namespace {

// Every COM number (up to 256) on a line of its own, with room to spare.
constexpr std::size_t kComExistBytes = 64 * 1024;
constexpr int kTagRecord = 591476;
// "♁" in Big5 leads the line that ends a successful sweep.
constexpr const char* kSweepEndLine = "\xA1\xF2 TTarnel off (self) \n\n";

int Ctrl(ScanContext& ctx, const char* name) {
    return ctx.ui.FindCtrl(ctx.gvtpScan, name);
}

int SetTimer(ScanContext& ctx, int enabled) {
    return ctx.ui.SetCtrlAttribute(ctx.gvtpScan, Ctrl(ctx, "TTARNEL"), ui::ATTR_ENABLED, enabled);
}

int GetInt(ScanContext& ctx, const char* name) {
    int value = 0;
    ctx.ui.GetCtrlVal(ctx.gvtpScan, Ctrl(ctx, name), &value);
    return value;
}

}  // namespace

// --- BRi ---------------------------------------------------------------------------------

int BRi::HHCC(ScanContext& ctx, int* panel, int* control) {
    *panel = ctx.gvtpScan;
    *control = Ctrl(ctx, "BRI");
    return 0;
}
int BRi::SV(ScanContext& ctx, int value) {
    return ctx.ui.SetCtrlVal(ctx.gvtpScan, Ctrl(ctx, "BRI"), value);
}
int BRi::GV(ScanContext& ctx) {
    return GetInt(ctx, "BRI");
}
int BRi::Set_To_Tail(ScanContext& ctx) {
    return SV(ctx, -1);
}
int BRi::is_Tail(ScanContext& ctx) {
    return GV(ctx) == -1 ? 1 : 0;
}
int BRi::Increase(ScanContext& ctx) {
    // The fastest rate comes first, so the next rate is the lower index.
    return SV(ctx, GV(ctx) - 1);
}

// --- RTUi --------------------------------------------------------------------------------

int RTUi::HHCC(ScanContext& ctx, int* panel, int* control) {
    *panel = ctx.gvtpScan;
    *control = Ctrl(ctx, "RTUI");
    return 0;
}
int RTUi::SV(ScanContext& ctx, int value) {
    return ctx.ui.SetCtrlVal(ctx.gvtpScan, Ctrl(ctx, "RTUI"), value);
}
int RTUi::GV(ScanContext& ctx) {
    return GetInt(ctx, "RTUI");
}
int RTUi::Set_To_Tail(ScanContext& ctx) {
    return SV(ctx, -1);
}
int RTUi::is_Tail(ScanContext& ctx) {
    return GV(ctx) == -1 ? 1 : 0;
}
int RTUi::Increase(ScanContext& ctx) {
    const int next = GV(ctx) + 1;
    return SV(ctx, next >= 4 ? -1 : next);
}

// --- Scan targets ------------------------------------------------------------------------

int ScanTarget::Open_R(ScanContext& ctx, int tag) {
    ScanTarget::Close(ctx);
    // Read whole at the start of the sweep (a regular file only, never a FIFO waited on).
    std::string ports;
    if (sys::ReadFileHead(kComExist, kComExistBytes, &ports) < 0) {
        fn_err_Open_File(ctx, kScanDevModule, tag, kComExist);
        return -1;
    }
    ctx.gpCOMx.str(ports);
    ctx.gpCOMx.clear();
    return 0;
}

int ScanTarget::RF(ScanContext& ctx, int* port) {
    int value = 0;
    if (!(ctx.gpCOMx >> value)) return -1;
    *port = value;
    return 0;
}

int ScanTarget::is_EOF(ScanContext& ctx) {
    // A closed stream or a line that is no number ends the targets as the end of file does,
    // rather than probing a stale port forever.
    return ctx.gpCOMx.good() ? 0 : 1;
}

int ScanTarget::Close(ScanContext& ctx) {
    ctx.gpCOMx.str("");
    ctx.gpCOMx.setstate(std::ios::failbit);  // closed: no target left
    return 0;
}

// --- COM parameter table -----------------------------------------------------------------

int COM_Para::HHCC(ScanContext& ctx, int* panel, int* control) {
    *panel = ctx.gvtpScan;
    *control = Ctrl(ctx, "COM_PARA");
    return 0;
}

int COM_Para::Set(ScanContext& ctx, const std::string& name, int baud, int parity, int dataBits,
                  int stopBits) {
    int panel = 0, table = 0;
    HHCC(ctx, &panel, &table);
    ctx.ui.SetTableCellVal(panel, table, 1, 1, name);
    ctx.ui.SetTableCellVal(panel, table, 2, 1, baud);
    ctx.ui.SetTableCellVal(panel, table, 3, 1, parity);
    ctx.ui.SetTableCellVal(panel, table, 4, 1, dataBits);
    ctx.ui.SetTableCellVal(panel, table, 5, 1, stopBits);
    return 0;
}

int COM_Para::Toggle_Dim(ScanContext& ctx, int flag) {
    int panel = 0, table = 0;
    HHCC(ctx, &panel, &table);
    return ctx.ui.SetCtrlAttribute(panel, table, ui::ATTR_DIMMED, flag == 0 ? 1 : 0);
}

// --- Port --------------------------------------------------------------------------------

int cf_Port_Dev__Open(ScanContext& ctx, int port, int baudIndex, int parity, int dataBits,
                      int stopBits, int show) {
    if (port < 1 || port > 256) {
        ctx.ui.MessagePopup(kScanDevModule, "fn_Open_Com() :: COM port number out of range");
        return -1;
    }
    conf::TraceObserver observer = ScanObserver(ctx);
    if (conf::fn_Check_Line_Settings(observer, baudIndex, parity, dataBits, stopBits) < 0)
        return -1;
    if (show == 1)
        COM_Para::Set(ctx, "COM" + std::to_string(port), fn_BR_to_Baud(baudIndex), parity, dataBits,
                      stopBits);
    return conf::OpenLine(SessionOf(ctx), observer, port, baudIndex, parity, dataBits, stopBits,
                          "\n");
}

int df_Port_Dev__Close(ScanContext& ctx) {
    ctx.com.CloseCom(kPort222);
    return 0;
}

int fn_Force_Write_ID_BR(ScanContext& ctx) {
    logs(ctx, "\tForce write ID and BR\n", "");
    ctx.gvIDd = 0;
    // Nobody answers a broadcast: the time-outs are the normal end of this exchange.
    fn_Modbus_Device(ctx, 5, kForceRegister, kForceValue);
    return 0;
}

// --- The sweep ---------------------------------------------------------------------------

namespace {

// A transparent gateway keeps its own line settings: it cannot follow the probes, and the
// forcing broadcast would move the instrument away from the one settings it can pass. Such a
// port is listed and said in the log, never swept.
bool NotSweptGateway(ScanContext& ctx, int com) {
    const std::string path = ctx.com.PathOfName("COM" + std::to_string(com));
    if (serial::TransportOfDevice(path) != serial::Transport::kRawTcp) return false;
    LogWriteAlways(ctx, "COM" + std::to_string(com) + " " + serial::NetworkUrlOfDevice(path) +
                            " :: raw TCP gateway at its own line settings, not swept (link it as "
                            "rfc2217:// to sweep it)\n");
    return true;
}

}  // namespace

int ScanDev__to_start(ScanContext& ctx) {
    const int r = ScanTarget::Open_R(ctx, kTagTargetOpen);
    if (r < 0) return r;
    BRi::Set_To_Tail(ctx);
    RTUi::Set_To_Tail(ctx);
    COM_Para::Toggle_Dim(ctx, 1);
    SetTimer(ctx, 1);
    return 0;
}

int ScanDev__to_stop(ScanContext& ctx) {
    SetTimer(ctx, 0);
    ScanTarget::Close(ctx);
    return 0;
}

int evStartScan(ScanContext& ctx, int, int, int event, void*, int, int) {
    if (event != ui::EVENT_COMMIT) return 0;
    ComList::Discover_Ports(ctx);
    ScanDev__to_start(ctx);
    fn_1_Status_Msg(ctx, kStatusScanning);
    return 0;
}

int evESC(ScanContext& ctx, int, int, int event, void*, int, int) {
    if (event != ui::EVENT_COMMIT) return 0;
    SetTimer(ctx, 0);
    fn_1_Status_Msg(ctx, kStatusStopped);
    return 0;
}

int evLST(ScanContext& ctx, int panel, int control, int event, void*, int, int) {
    if (event != ui::EVENT_COMMIT && event != ui::EVENT_LEFT_CLICK_UP) return 0;
    int port = 0;
    // An empty list has no selection: there is nothing to sweep.
    if (ctx.ui.GetCtrlVal(panel, control, &port) < 0) return 0;
    if (sys::WriteWholeFile(kComExist, std::to_string(port) + "\n") < 0) {
        fn_err_Open_File(ctx, kScanDevModule, kTagTargetOpen, kComExist);
        return 0;
    }
    fn_1_Status_Msg(ctx, kStatusScanning);
    ScanDev__to_start(ctx);
    return 0;
}

int Sweep::Next_Port(ScanContext& ctx) {
    if (!BRi::is_Tail(ctx)) return 0;
    BRi::SV(ctx, 3);
    RTUi::SV(ctx, 0);
    ScanTarget::RF(ctx, &ctx.gvCOMx);
    while (!ScanTarget::is_EOF(ctx) && NotSweptGateway(ctx, ctx.gvCOMx))
        ScanTarget::RF(ctx, &ctx.gvCOMx);
    if (!ScanTarget::is_EOF(ctx)) return 0;
    COM_Para::Toggle_Dim(ctx, 0);
    fn_1_Status_Msg(ctx, kStatusNotFound);
    ScanDev__to_stop(ctx);
    return 1;
}

int Sweep::Force(ScanContext& ctx) {
    const int br = BRi::GV(ctx);
    const int rtu = RTUi::GV(ctx);
    logs(ctx, "%s\n", std::string(76, '='));
    ctx.gr = cf_Port_Dev__Open(ctx, ctx.gvCOMx, br, fn_RTU_to_Parity(rtu), 8,
                               fn_RTU_to_Stop_Bits(rtu), 1);
    if (ctx.gr < 0) {
        fn_err_Open_COM(ctx, kScanDevModule, kTagProbeOpen, ctx.gr);
        ScanDev__to_stop(ctx);
        return -1;
    }
    fn_Force_Write_ID_BR(ctx);
    df_Port_Dev__Close(ctx);
    return 0;
}

int Sweep::Reopen(ScanContext& ctx) {
    ctx.gvIDd = 1;
    ctx.gr = cf_Port_Dev__Open(ctx, ctx.gvCOMx, kFixedBaudIndex, kFixedParity, kFixedDataBits,
                               kFixedStopBits, 0);
    if (ctx.gr < 0) {
        // The same combination comes again on the next tick.
        fn_err_Open_COM(ctx, kScanDevModule, kTagReopen, ctx.gr);
        return -1;
    }
    return 0;
}

int Sweep::Read_Mcode(ScanContext& ctx, unsigned* mcode) {
    logs(ctx, "\tTry read Mcode(HW+FW)\n", "");
    std::uint16_t word[1] = {0};
    ctx.gr = fn_Modbus_Device(ctx, 3, kMcodeRegister, 1, word);
    df_Port_Dev__Close(ctx);
    if (ctx.gr != 0) return ctx.gr;
    *mcode = word[0];
    return 0;
}

int Sweep::Next_Combination(ScanContext& ctx) {
    RTUi::Increase(ctx);
    if (RTUi::is_Tail(ctx)) {
        RTUi::SV(ctx, 0);
        BRi::Increase(ctx);
    }
    return 0;
}

int Sweep::Hand_Over(ScanContext& ctx, unsigned mcode) {
    char line[64];
    std::snprintf(line, sizeof line, "Mcode(HW+FW) : 0x%04x \n", mcode);
    LogWriteAlways(ctx, line);
    const int recorded = mf_Port_Dev__Record(ctx, ctx.gvCOMx, kFixedBaudIndex, kFixedParity,
                                             kFixedDataBits, kFixedStopBits, mcode);
    fn_1_Status_Msg(ctx, kStatusFound);
    ScanDev__to_stop(ctx);
    LogWriteAlways(ctx, kSweepEndLine);
    // Without its settings file a configurator would open an old port or none: start nothing.
    if (recorded < 0)
        fn_err_Open_File(ctx, kScanDevModule, kTagRecord, kComDevUse);
    else
        fn_Distribute(ctx);
    SetTimer(ctx, 0);
    return recorded;
}

int evTTarnel(ScanContext& ctx, int, int, int event, void*, int, int) {
    if (event != ui::EVENT_TIMER_TICK) return 0;
    if (Sweep::Next_Port(ctx) != 0) return 0;  // every port swept: the sweep is over
    if (Sweep::Force(ctx) < 0) return -1;
    if (Sweep::Reopen(ctx) < 0) return -1;
    unsigned mcode = 0;
    if (Sweep::Read_Mcode(ctx, &mcode) != 0) {
        Sweep::Next_Combination(ctx);
        return -1;
    }
    Sweep::Hand_Over(ctx, mcode);
    return 0;
}

}  // namespace scan
