#include "transfer/serial_read.h"

#include <array>
#include <cstdio>

#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "params/service.h"
#include "session/modbus_api.h"

namespace conf {

std::string fn_SN_Read_Text(std::uint32_t serial) {
    char text[64];
    std::snprintf(text, sizeof text, "%02u     %02u    %02u       %04u", serial / 100000000u,
                  serial / 1000000u % 100u, serial / 10000u % 100u, serial % 10000u);
    return text;
}

int SN_V_Read::fr_Modbus(Context& ctx) {
    msg_cfg::SID(ctx, kMsgReading);
    logs(ctx, "%s\n", "Modbus r SN");
    std::array<std::int16_t, 2> words{};
    int r = fn_Modbus_Device_RW_16(ctx, enR, AddressOf(ctx.model, Module::kSerial), 2, words);
    if (r < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return r;
    }
    msg_cfg::SID(ctx, kMsgReadOk);
    // The halves arrive sign-extended; a low half of 0x8000 or more must not reach the high.
    const std::uint32_t serial = static_cast<std::uint32_t>(static_cast<std::uint16_t>(words[0]))
                                     << 16 |
                                 static_cast<std::uint16_t>(words[1]);
    return SN_V_Read::SV(ctx, fn_SN_Read_Text(serial)) < 0 ? -1 : 0;
}

}  // namespace conf
