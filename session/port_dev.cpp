#include "session/port_dev.h"

#include <cstdio>
#include <string>

#include "lang/status_line.h"
#include "lang/window_title.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "platform/serial/net_address.h"
#include "platform/serial/rs232.h"
#include "session/context_link.h"
#include "session/link_controls.h"

namespace conf {

namespace {

// A transparent gateway keeps the serial settings it was set up with, those of the settings
// file: once the instrument has moved to others, the gateway has to be set to match them.
void SayGatewayMustFollow(Context& ctx, const PortSettings& file, int br, int rtu) {
    const std::string path = ctx.com ? ctx.com->DevicePath(kPort222) : std::string();
    if (serial::TransportOfDevice(path) != serial::Transport::kRawTcp) return;
    const int parity = fn_RTU_to_Parity(rtu);
    const int stopBits = fn_RTU_to_Stop_Bits(rtu);
    if (br == file.br && parity == file.parity && file.dataBits == 8 && stopBits == file.stopBits)
        return;
    char line[256];
    std::snprintf(line, sizeof line,
                  "COM%d is the raw TCP gateway %s, which keeps its own line settings: set it to "
                  "%d baud 8%c%d before the line answers again\n\n",
                  file.com, serial::NetworkUrlOfDevice(path).c_str(), fn_BR_to_Baud(br),
                  "NOEMS"[parity], stopBits);
    LogWriteAlways(ctx, line);
}

}  // namespace

int cf_Port_Dev__Open(Context& ctx, int com, int br, int parity, int dataBits, int stopBits, int) {
    if (com < 1 || com > 256) {
        logi(ctx, "err COM#%d\n", com);
        ctx.ui.MessagePopup("fn_Open_Com()", "COM port number out of range");
        return -1;
    }
    TraceObserver observer = ContextObserver(ctx);
    if (fn_Check_Line_Settings(observer, br, parity, dataBits, stopBits) < 0) return -1;
    // The window names the port it is for, also when the open fails.
    ctx.gvCOM = com;
    Title::SV(ctx);
    return OpenLine(SessionOf(ctx), observer, com, br, parity, dataBits, stopBits, "\n\n");
}

int df_Port_Dev__Close(Context& ctx) {
    if (ctx.com) ctx.com->CloseCom(kPort222);
    return 0;
}

int mf_Port_Dev__Record(Context&, int com, int br, int parity, int dataBits, int stopBits,
                        unsigned mcode) {
    fn_Write_Port_Settings(com, br, parity, dataBits, stopBits, mcode);
    return 0;
}

int mf_Port_Dev__Reopen_after_BR_RTU_change(Context& ctx) {
    const int br = BR_comm::GI(ctx);
    const int rtu = RTU_comm::GI(ctx);
    PortSettings file;
    std::string problem;
    const int read = fn_Read_Port_Settings(&file, kPortFieldsCom, &problem);
    if (!problem.empty()) WriteFileProblem(ctx.gpLog, kComDevUseFile, problem);
    if (read < 0) {
        Log::err_Open_File(ctx, ctx.Source("__UART"), 729354956, kComDevUseFile);
        return -1;
    }
    int r =
        cf_Port_Dev__Open(ctx, file.com, br, fn_RTU_to_Parity(rtu), 8, fn_RTU_to_Stop_Bits(rtu), 1);
    if (r < 0) {
        Log::err_Open_COM(ctx, ctx.Source("__UART"), 2286313, r);
        return -2;
    }
    SayGatewayMustFollow(ctx, file, br, rtu);
    return 0;
}

int ev_Port(Context& ctx, int menuBar, int item, void*, int) {
    int checked = 0;
    ctx.ui.GetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, &checked);
    checked = !checked;
    ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, checked);
    if (!checked) {
        df_Port_Dev__Close(ctx);
        msg_cfg::SCV(ctx, 0x000000, "Close COM port");
        return 0;
    }
    if (mf_Port_Dev__Reopen_after_BR_RTU_change(ctx) < 0) {
        ctx.ui.SetMenuBarAttribute(menuBar, item, ui::ATTR_CHECKED, 0);
        return 0;
    }
    msg_cfg::SCV(ctx, 0x008000, "Open COM port OK");
    return 0;
}

}  // namespace conf
