#include "transfer/agent_write.h"

#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/main_panel.h"
#include "params/rules.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

// The instrument takes these settings only with their command code in the high byte; a read
// gives back the bare index.
constexpr int kDigitCode = 0x4600;
constexpr int kAlarmAmountCode = 0x4700;

}  // namespace

int evAgentWrite(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    int r = DevInfo2::fr_Modbus_to_GUI(ctx);
    if (r < 0) return r;

    msg_cfg::SID(ctx, kMsgWriting);
    const int digit = kDigitCode + DIGIT_cfg::GI(ctx);
    logi(ctx, "Modbus w DIGIT = %04x \n", digit);
    r = fn_Modbus_Device_RW_16(ctx, enWram, AddressOf(ctx.model, Module::kDigit), digit);
    if (r >= 0) {
        fn_Affect_by_DIGIT(ctx);
        fn_Affect_by_DIGIT_0(ctx);
        const int amount = kAlarmAmountCode + Alarm_Amount_cfg::GI(ctx);
        logi(ctx, "Modbus w Alarm.Num = %04x \n", amount);
        r = fn_Modbus_Device_RW_16(ctx, enWee, AddressOf(ctx.model, Module::kAlarmAmount), amount);
    }
    if (r < 0) {
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    fn_Affect_by_Alarm_Amount(ctx);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return 0;
}

}  // namespace conf
