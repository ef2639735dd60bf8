#include "session/uart.h"

#include <vector>

#include "lang/status_line.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "session/link_controls.h"
#include "session/modbus_api.h"
#include "session/port_dev.h"

namespace conf {

int UART::init(Context& ctx) {
    PortSettings s;
    std::string problem;
    const int read = fn_Read_Port_Settings(&s, kPortFieldsLine, &problem);
    if (!problem.empty()) WriteFileProblem(ctx.gpLog, kComDevUseFile, problem);
    if (read < 0) {
        Log::err_Open_File(ctx, ctx.Source("__UART"), 591475, kComDevUseFile);
        return -1;
    }
    int r = cf_Port_Dev__Open(ctx, s.com, s.br, s.parity, s.dataBits, s.stopBits, 1);
    if (r < 0) {
        Log::err_Open_COM(ctx, ctx.Source("__UART"), 22881363, r);
        msg_cfg::SV(ctx, "Open COM NG");
        return -2;
    }
    return UART::Recovery_ID_BR_RTU(ctx);
}

int UART::Recovery_ID_BR_RTU(Context& ctx) {
    logs(ctx, "%s\n", "===========Recovery ID, BR, RTU");
    logs(ctx, "%s\n", "Modbus read ID_B, BR_B, RTU_B");
    const RecoveryBlock& rb = ctx.model.recovery;
    std::vector<std::int16_t> block(static_cast<std::size_t>(rb.count));
    if (fn_Modbus_Device_RW_16(ctx, enR, rb.address, rb.count, block) < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return -1;
    }
    const int idB = block[static_cast<std::size_t>(rb.idWord)];
    const int brB = block[static_cast<std::size_t>(rb.brWord)];
    const int rtuB = block[static_cast<std::size_t>(rb.rtuWord)];
    const WritePlan& link = ctx.model.write;

    logs(ctx, "%s\n", "Recover ID");
    if (fn_Modbus_Device_RW_16(ctx, enWram, link.addrID, idB) < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return -1;
    }
    ID_comm::SV(ctx, idB);

    // The instrument answers at the old rate, then switches: follow it.
    logs(ctx, "%s\n", "Recover BR");
    if (fn_Modbus_Device_RW_16(ctx, enWram, link.addrBR, brB) < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return -1;
    }
    df_Port_Dev__Close(ctx);
    BR_comm::SI(ctx, brB);
    mf_Port_Dev__Reopen_after_BR_RTU_change(ctx);

    logs(ctx, "%s\n", "Recover RTU");
    if (fn_Modbus_Device_RW_16(ctx, enWram, link.addrRTU, rtuB) < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return -1;
    }
    df_Port_Dev__Close(ctx);
    RTU_comm::SI(ctx, rtuB);
    mf_Port_Dev__Reopen_after_BR_RTU_change(ctx);
    return 0;
}

int evUART(Context& ctx, int, int, int event, void*, int, int) {
    if (event == ui::EVENT_COMMIT) UART::init(ctx);
    return 0;
}

int RS485_on_off(Context& ctx, int panel, int control, int event, void*, int, int) {
    if (event != ui::EVENT_COMMIT) return 0;
    int value = 0;
    ctx.ui.GetCtrlVal(panel, control, &value);
    logi(ctx, "Modbus w RS485 ON/ OFF = %04x \n", value);
    int r = fn_Modbus_Device_RW_16(ctx, enWee, ctx.model.id.addrRS485, value);
    if (r < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

}  // namespace conf
