#include "monitor/remote_value.h"

#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/main_panel.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

int RSP::to_Modbus(Context& ctx) {
    msg_cfg::SID(ctx, kMsgWriting);
    const int value = RSP::GV(ctx);
    logi(ctx, "Modbus w RSP = %d \n", value);
    const RemoteValue& remote = ctx.model.remote;
    // One register in RAM, or one 32-bit value written as two words.
    const int r = remote.width == 32 ? fn_Modbus_Device_RW_32(ctx, enWmw, remote.address, value)
                                     : fn_Modbus_Device_RW_16(ctx, enWram, remote.address, value);
    msg_cfg::SID(ctx, r < 0 ? kMsgWriteNg : kMsgWriteOk);
    return r < 0 ? r : 0;
}

int ev_RSP_W_PV(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    // The instrument is checked first; a value outside the display range is marked red and
    // still written as typed (the instrument takes what it is sent).
    if (DevInfo2::fr_Modbus_to_GUI(ctx) < 0) return 0;
    RSP::OOR(ctx);
    RSP::to_Modbus(ctx);
    return 0;
}

}  // namespace conf
