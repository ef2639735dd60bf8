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
#include "params/alarm104.h"
#include "params/comm104.h"
#include "params/input104.h"
#include "params/linear104.h"
#include "params/main104.h"
#include "params/measuring104.h"
#include "params/outcal104.h"
#include "params/rules104.h"
#include "platform/ui/constants.h"
#include "shell/focus.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/serial_read.h"

namespace conf {

namespace {

using SetOp = int (*)(Context&, int);

int AfterType(Context& ctx) {
    fn_Affect_by_TYPE(ctx);
    return fn_Affect_by_TYPE_DIGIT(ctx);
}

int AfterDp(Context& ctx) {
    fn_Affect_by_TYPE_UNIT_DP_DIGIT(ctx);
    return fn_Affect_by_DP(ctx);
}

// How one register of the configuration block reaches its control, by address.
struct Row {
    const SelectorField* field;  // null: a single-control module
    int member;
    SetOp set;
    int (*after)(Context&);  // null: the value governs nothing else
};

// The order is binding: type, unit and decimal point come before the values whose ranges
// and precision they decide.
constexpr Row kRows[] = {
    {nullptr, 0, mf_104_TYPE_cfg__SV, AfterType},
    {nullptr, 0, mf_104_UNIT_cfg__SI, nullptr},
    {nullptr, 0, mf_104_DP_cfg__SI, AfterDp},
    {&kSelMRngUsr, 0, mf_104_MRng_usr_cfg__SV, nullptr},
    {&kSelMRngUsr, 1, mf_104_MRng_usr_cfg__SV, nullptr},
    {nullptr, 0, mf_104_PVOF_usr_cfg__SV, nullptr},
    {&kSelLinScale, 0, mf_104_LinScale_cfg__SV, nullptr},
    {&kSelLinScale, 1, mf_104_LinScale_cfg__SV, nullptr},
    {nullptr, 0, mf_104_FILT_cfg__SV, nullptr},
    {nullptr, 0, mf_104_DIR_cfg__SV, nullptr},
    {nullptr, 0, mf_104_CUT_cfg__SI, nullptr},
    {&kSelRTS, 0, mf_104_RTS_V_cfg__SV, nullptr},
    {&kSelRTS, 1, mf_104_RTS_V_cfg__SV, nullptr},
    {nullptr, 0, mf_104_ID_cfg__SV, nullptr},
    {nullptr, 0, mf_104_BR_cfg__SI, nullptr},
    {&kSelAlarm, 0, mf_104_AxFU_cfg__SI, nullptr},
    {&kSelAlarm, 0, mf_104_AxMD_cfg__SI, nullptr},
    {&kSelAlarm, 0, mf_104_AxSP_cfg__SV, nullptr},
    {&kSelAlarm, 0, mf_104_AxHY_cfg__SV, nullptr},
    {&kSelAlarm, 1, mf_104_AxFU_cfg__SI, nullptr},
    {&kSelAlarm, 1, mf_104_AxMD_cfg__SI, nullptr},
    {&kSelAlarm, 1, mf_104_AxSP_cfg__SV, nullptr},
    {&kSelAlarm, 1, mf_104_AxHY_cfg__SV, nullptr},
    {&kSelLinSig, 0, mf_104_LinSig_cfg__SV, nullptr},
    {&kSelLinSig, 1, mf_104_LinSig_cfg__SV, nullptr},
    {&kSelLinSig, 2, mf_104_LinSig_cfg__SV, nullptr},
    {&kSelLinSig, 3, mf_104_LinSig_cfg__SV, nullptr},
    {&kSelLinSig, 4, mf_104_LinSig_cfg__SV, nullptr},
    {&kSelLinSig, 5, mf_104_LinSig_cfg__SV, nullptr},
    {nullptr, 0, mf_104_RTU_cfg__SI, nullptr},
    {nullptr, 0, mf_104_Lock_cfg__SI, nullptr},
};
constexpr int kRowCount = static_cast<int>(std::size(kRows));
constexpr int kAddrDP = 2;

}  // namespace

int fn_Para_Block_Length(int firmware) {
    const ParamCatalogue& cat = ModelACatalogue();
    // Version 0 is not a released firmware; it is read as version 1, the shorter block, so
    // no register is asked for that the instrument may not have.
    return firmware >= kFirmwareFull ? cat.blockLength : cat.blockLengthFw1;
}

int mf_104_Para_to_GUI(Context& ctx, int address, int value) {
    if (address < 0 || address >= kRowCount) return -1;
    const Row& row = kRows[address];
    if (row.field) SetField(ctx.gsRAM01, *row.field, row.member);
    row.set(ctx, value);
    if (row.after) row.after(ctx);
    // The shown values are rendered with the device's decimal point from here on.
    if (address == kAddrDP) SetField(ctx.gsRAM01, kSelDpp, value & 3);
    return 0;
}

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

    const int count = std::min(fn_Para_Block_Length(ctx.gvFW), kRowCount);
    logi(ctx, "Modbus r Parameter of Dev %d words \n", count);
    std::array<std::int16_t, kRowCount> block{};
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
