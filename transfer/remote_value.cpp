// The remote value's write: RSP::to_Modbus, declared with its module in params/main_panel.h.

#include "params/main_panel.h"

#include "lang/status_line.h"
#include "link/access_mode.h"
#include "link/modbus_api.h"
#include "log/event_log.h"
#include "models/model.h"
#include "params/main_panel.h"

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

}  // namespace conf
