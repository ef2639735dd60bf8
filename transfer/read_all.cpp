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
#include "params/main104.h"
#include "params/rules104.h"
#include "platform/ui/constants.h"
#include "shell/focus.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/serial_read.h"

namespace conf {

int mf_104_Para_Fr_Dev__r_Parameter(Context& ctx) {
    const ParamCatalogue& cat = ModelACatalogue();

    // Digits and alarm amount first: they decide which controls the later values go to.
    logi(ctx, "Modbus r Display.Digit, Alarm.amount of Dev %d words \n", 2);
    std::array<std::int16_t, 2> setup{};
    if (fn_Modbus_Device_RW_16(ctx, enR, cat.addrDigit, 2, setup) < 0) {
        mf_104_msg_cfg__SID(ctx, kMsgReadNg);
        return -1;
    }
    mf_104_DIGIT_cfg__SI(ctx, setup[0]);
    mf_104_Alarm_Amount_cfg__SI(ctx, setup[1]);
    fn_Affect_by_DIGIT(ctx);
    fn_Affect_by_Alarm_Amount(ctx);

    const int count = std::min(fn_Para_Block_Length(ctx.gvFW), kParaBlockMax);
    logi(ctx, "Modbus r Parameter of Dev %d words \n", count);
    std::array<std::int16_t, kParaBlockMax> block{};
    std::span<std::int16_t> wanted(block.data(), static_cast<std::size_t>(count));
    if (fn_Modbus_Device_RW_16(ctx, enR, 0, count, wanted) < 0) {
        mf_104_msg_cfg__SID(ctx, kMsgReadNg);
        return -1;
    }
    for (int address = 0; address < count; ++address) {
        const int value = block[static_cast<std::size_t>(address)];
        mf_104_Log__Modbus_R(ctx, address, value, value,
                             cat.blockNames[static_cast<std::size_t>(address)]);
        mf_104_Para_to_GUI(ctx, address, value);
    }

    std::array<std::int16_t, 1> rs485{};
    if (fn_Modbus_Device_RW_16(ctx, enR, cat.addrRS485, 1, rs485) < 0) {
        mf_104_msg_cfg__SID(ctx, kMsgReadNg);
        return -1;
    }
    logi(ctx, "Modbus r RS485 ON/OFF: %d \n", rs485[0]);
    // The switch is on or off; any non-zero setting is on.
    ctx.ui.SetCtrlVal(ctx.gvG104, ctx.ui.FindCtrl(ctx.gvG104, "RS485"), rs485[0] != 0 ? 1 : 0);
    return 0;
}

int mf_104_Para_Fr_Dev__onClick(Context& ctx) {
    mf_104_Log__Append(ctx);
    logs(ctx, "%s\n\n", "=============Read para");
    mf_104_msg_cfg__SID(ctx, kMsgReading);
    int r = mf_104_DevInfo2__fr_Modbus_to_GUI(ctx);
    if (r >= 0) r = mf_104_Para_Fr_Dev__r_Parameter(ctx);
    if (r >= 0) {
        mf_104_RSP__Toggle_Dim(ctx);
        r = mf_104_SN_V_Read__fr_Modbus(ctx);
    }
    if (r >= 0) {
        mf_104_Para_To_Dev__Check_OOR(ctx);
        mf_104_msg_cfg__SID(ctx, kMsgReadOk);
        r = 0;
    }
    ctx.gr = r;
    return r;
}

int ev104Read(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_COMMIT)
        mf_104_Para_Fr_Dev__onClick(ctx);
    else
        fn_Enter_to_Next(ctx, panel, control, event, data1);
    return 0;
}

int ev104ParaFrDev(Context& ctx, int, int, void*, int) {
    return mf_104_Para_Fr_Dev__onClick(ctx);
}

}  // namespace conf
