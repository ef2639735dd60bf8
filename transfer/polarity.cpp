#include "transfer/polarity.h"

#include <array>
#include <cstdint>

#include "lang/status_line.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/polarity.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

int evPOLAR(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    const int address = ctx.model.read.addrPolarity;
    if (address < 0) return 0;
    if (int r = DevInfo2::fr_Modbus_to_GUI(ctx); r < 0) return r;
    msg_cfg::SID(ctx, kMsgWriting);
    if (int r = fn_Modbus_Device_RW_16(ctx, enWee, address, POLAR_cfg::GV(ctx)); r < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    std::array<std::int16_t, 1> value{};
    if (fn_Modbus_Device_RW_16(ctx, enR, address, 1, value) < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return -1;
    }
    POLAR_cfg::SV(ctx, value[0]);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

}  // namespace conf
