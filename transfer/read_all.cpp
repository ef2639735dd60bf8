#include "transfer/read_all.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "core/selector.h"
#include "lang/status_line.h"
#include "log/event_log.h"
#include "log/modbus_trace.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/main_panel.h"
#include "params/polarity.h"
#include "params/rules.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/serial_read.h"

namespace conf {

namespace {

int ReadNg(Context& ctx) {
    msg_cfg::SID(ctx, kMsgReadNg);
    return -1;
}

// One value read: its trace line under the register's name, then into its module.
void Apply(Context& ctx, int address, int value) {
    const RegisterRecord* record = FindRegister(ctx.model, address);
    Log::Modbus_R(ctx, address, value, value, record ? record->name : "");
    fn_Para_to_GUI(ctx, address, value);
}

// The 16-bit block from the plan's first register, its length by firmware, applied in the
// plan's order.
int ReadBlock16(Context& ctx) {
    const ReadPlan& plan = ctx.model.read;
    const int count = fn_Para_Block_Length(ctx, ctx.gvFW);
    logi(ctx, plan.blockLogLine, count);
    std::vector<std::int16_t> block(static_cast<std::size_t>(count));
    if (fn_Modbus_Device_RW_16(ctx, enR, plan.block16Address, count, block) < 0) return ReadNg(ctx);
    for (int address : plan.applyOrder) {
        const int at = address - plan.block16Address;
        if (at < 0 || at >= count) continue;
        Apply(ctx, address, block[static_cast<std::size_t>(at)]);
    }
    return 0;
}

// The 32-bit values, one per address from the plan's first.
int ReadBlock32(Context& ctx) {
    const ReadPlan& plan = ctx.model.read;
    if (plan.block32Count <= 0) return 0;
    logi(ctx, "Modbus r 32-bit Parameter of Dev %d Dwords \n", plan.block32Count);
    std::vector<std::int32_t> values(static_cast<std::size_t>(plan.block32Count));
    if (fn_Modbus_Device_RW_32(ctx, enR, plan.block32Address, plan.block32Count, values) < 0)
        return ReadNg(ctx);
    for (int i = 0; i < plan.block32Count; ++i)
        Apply(ctx, plan.block32Address + i, values[static_cast<std::size_t>(i)]);
    return 0;
}

}  // namespace

int Para_Fr_Dev::r_Parameter(Context& ctx) {
    // Digits and alarm amount first: they decide which controls the later values go to. They
    // are read together, the alarm amount in the register after the digits.
    logi(ctx, "Modbus r Display.Digit, Alarm.amount of Dev %d words \n", 2);
    std::array<std::int16_t, 2> setup{};
    if (fn_Modbus_Device_RW_16(ctx, enR, AddressOf(ctx.model, Module::kDigit), 2, setup) < 0)
        return ReadNg(ctx);
    DIGIT_cfg::SI(ctx, setup[0]);
    Alarm_Amount_cfg::SI(ctx, setup[1]);
    fn_Affect_by_DIGIT(ctx);
    fn_Affect_by_Alarm_Amount(ctx);

    if (const int polarity = ctx.model.read.addrPolarity; polarity >= 0) {
        std::array<std::int16_t, 1> value{};
        if (fn_Modbus_Device_RW_16(ctx, enR, polarity, 1, value) < 0) return ReadNg(ctx);
        POLAR_cfg::SV(ctx, value[0]);
    }

    if (ReadBlock16(ctx) < 0 || ReadBlock32(ctx) < 0) return -1;

    std::array<std::int16_t, 1> rs485{};
    if (fn_Modbus_Device_RW_16(ctx, enR, ctx.model.id.addrRS485, 1, rs485) < 0) return ReadNg(ctx);
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
    // Some models have the serial number read first, the others last.
    const bool serialFirst = ctx.model.read.serialFirst;
    if (r >= 0 && serialFirst) r = SN_V_Read::fr_Modbus(ctx);
    if (r >= 0) r = Para_Fr_Dev::r_Parameter(ctx);
    if (r >= 0) {
        RSP_panel::Toggle_Dim(ctx);
        if (!serialFirst) r = SN_V_Read::fr_Modbus(ctx);
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
