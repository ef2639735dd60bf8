#include "transfer/read_all.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "core/selector.h"
#include "lang/status_line.h"
#include "link/access_mode.h"
#include "link/modbus_api.h"
#include "log/event_log.h"
#include "log/modbus_trace.h"
#include "models/param_catalogue_a.h"
#include "nav/focus.h"
#include "params/main_panel.h"
#include "params/rules.h"
#include "platform/ui/constants.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/serial_read.h"

namespace conf {

int Para_Fr_Dev::r_Parameter(Context& ctx) {
    const ParamCatalogue& cat = ModelACatalogue();

    // Digits and alarm amount first: they decide which controls the later values go to.
    logi(ctx, "Modbus r Display.Digit, Alarm.amount of Dev %d words \n", 2);
    std::array<std::int16_t, 2> setup{};
    if (fn_Modbus_Device_RW_16(ctx, enR, cat.addrDigit, 2, setup) < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return -1;
    }
    DIGIT_cfg::SI(ctx, setup[0]);
    Alarm_Amount_cfg::SI(ctx, setup[1]);
    fn_Affect_by_DIGIT(ctx);
    fn_Affect_by_Alarm_Amount(ctx);

    const int count = std::min(fn_Para_Block_Length(ctx.gvFW), kParaBlockMax);
    logi(ctx, "Modbus r Parameter of Dev %d words \n", count);
    std::array<std::int16_t, kParaBlockMax> block{};
    std::span<std::int16_t> wanted(block.data(), static_cast<std::size_t>(count));
    if (fn_Modbus_Device_RW_16(ctx, enR, 0, count, wanted) < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return -1;
    }
    for (int address = 0; address < count; ++address) {
        const int value = block[static_cast<std::size_t>(address)];
        Log::Modbus_R(ctx, address, value, value,
                      cat.blockNames[static_cast<std::size_t>(address)]);
        fn_Para_to_GUI(ctx, address, value);
    }

    std::array<std::int16_t, 1> rs485{};
    if (fn_Modbus_Device_RW_16(ctx, enR, cat.addrRS485, 1, rs485) < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        return -1;
    }
    logi(ctx, "Modbus r RS485 ON/OFF: %d \n", rs485[0]);
    // The switch is on or off; any non-zero setting is on.
    ctx.ui.SetCtrlVal(ctx.gvMain, ctx.ui.FindCtrl(ctx.gvMain, "RS485"), rs485[0] != 0 ? 1 : 0);
    return 0;
}

int Para_Fr_Dev::onClick(Context& ctx) {
    Log::Append(ctx);
    logs(ctx, "%s\n\n", "=============Read para");
    msg_cfg::SID(ctx, kMsgReading);
    int r = DevInfo2::fr_Modbus_to_GUI(ctx);
    if (r >= 0) r = Para_Fr_Dev::r_Parameter(ctx);
    if (r >= 0) {
        RSP::Toggle_Dim(ctx);
        r = SN_V_Read::fr_Modbus(ctx);
    }
    if (r >= 0) {
        Para_To_Dev::Check_OOR(ctx);
        msg_cfg::SID(ctx, kMsgReadOk);
        r = 0;
    }
    ctx.gr = r;
    return r;
}

int evRead(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_COMMIT)
        Para_Fr_Dev::onClick(ctx);
    else
        fn_Enter_to_Next(ctx, panel, control, event, data1);
    return 0;
}

int evParaFrDev(Context& ctx, int, int, void*, int) {
    return Para_Fr_Dev::onClick(ctx);
}

}  // namespace conf
