#include "link/port_dev.h"

#include <cstdio>
#include <string>

#include "lang/status_line.h"
#include "lang/window_title.h"
#include "link/access_mode.h"
#include "link/link_controls.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "platform/serial/rs232.h"
#include "platform/serial/serial_error.h"

namespace conf {

namespace {

std::string Printf(const char* format, const char* text, int a, int b, int c, int d) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, kPort222, text, a, b, c, d);
    return buf;
}

}  // namespace

int fn_BR_to_Baud(int br) {
    return 2400 << br;
}

int fn_RTU_to_Parity(int rtu) {
    return rtu == 2 ? 1 : rtu == 3 ? 2 : 0;
}

int fn_RTU_to_Stop_Bits(int rtu) {
    return rtu == 1 ? 2 : 1;
}

int fn_Check_Line_Settings(ui::Runtime& ui, int br, int parity, int dataBits, int stopBits) {
    if (br < 0 || br > 3) {
        ui.MessagePopup("fn_Open_Com :: Baud Rate Sequence", "BR out of range");
        return -1;
    }
    if (parity < 0 || parity > 4) {
        ui.MessagePopup("fn_Open_Com :: Parity Bit", "vPB out of range");
        return -1;
    }
    if (dataBits < 5 || dataBits > 8) {
        ui.MessagePopup("fn_Open_Com :: Data Bit", "vDB out of range");
        return -1;
    }
    if (stopBits < 1 || stopBits > 2) {
        ui.MessagePopup("fn_Open_Com :: Stop Bit",
                        "vSB out of range : " + std::to_string(stopBits));
        return -1;
    }
    return 0;
}

int cf_Port_Dev__Open(Context& ctx, int com, int br, int parity, int dataBits, int stopBits, int) {
    if (com < 1 || com > 256) {
        logi(ctx, "err COM#%d\n", com);
        ctx.ui.MessagePopup("fn_Open_Com()", "COM port number out of range");
        return -1;
    }
    if (fn_Check_Line_Settings(ctx.ui, br, parity, dataBits, stopBits) < 0) return -1;
    // The window names the port it is for, also when the open fails.
    ctx.gvCOM = com;
    Title::SV(ctx);
    const std::string name = "COM" + std::to_string(com);
    const int baud = fn_BR_to_Baud(br);
    LogWriteAlways(ctx, Printf("Open COM ( P%d, %6s, %d, %d, %d, %d ) \t", name.c_str(), baud,
                               parity, dataBits, stopBits));
    if (!ctx.com) return serial::kErrNotOpen;
    int r = ctx.com->OpenComConfig(kPort222, name, baud, parity, dataBits, stopBits);
    if (r < 0) {
        ctx.com->CloseCom(kPort222);
        // Finish the open record with what a technician can act on.
        LogWriteAlways(ctx, std::string("open NG :: ") + serial::SerialErrorText(r) +
                                (ctx.com->LastErrorDetail().empty()
                                     ? ""
                                     : " (" + ctx.com->LastErrorDetail() + ")") +
                                "\n\n");
        return r;
    }
    if (ctx.com->SetComTime(kPort222, 0.5) < 0) ctx.ui.MessagePopup("1929", "SetComTime err");
    char line[64];
    std::snprintf(line, sizeof line, "Set Com Time (s) : %f\n\n", 0.5);
    LogWriteAlways(ctx, line);
    return 0;
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
