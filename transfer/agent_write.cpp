#include "transfer/agent_write.h"

#include "lang/status_line.h"
#include "link/access_mode.h"
#include "link/modbus_api.h"
#include "log/event_log.h"
#include "models/param_catalogue_a.h"
#include "params/main104.h"
#include "params/rules104.h"
#include "platform/ui/constants.h"
#include "shell/focus.h"
#include "transfer/dev_info.h"

namespace conf {

namespace {

// The instrument takes these settings only with their command code in the high byte; a read
// gives back the bare index.
constexpr int kDigitCode = 0x4600;
constexpr int kAlarmAmountCode = 0x4700;

}  // namespace

int ev104AgentWrite(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    int r = mf_104_DevInfo2__fr_Modbus_to_GUI(ctx);
    if (r < 0) return r;
    const ParamCatalogue& cat = ModelACatalogue();

    mf_104_msg_cfg__SID(ctx, kMsgWriting);
    const int digit = kDigitCode + mf_104_DIGIT_cfg__GI(ctx);
    logi(ctx, "Modbus w DIGIT = %04x \n", digit);
    r = fn_Modbus_Device_RW_16(ctx, enWram, cat.addrDigit, digit);
    if (r >= 0) {
        fn_Affect_by_DIGIT(ctx);
        fn_Affect_by_DIGIT_0(ctx);
        const int amount = kAlarmAmountCode + mf_104_Alarm_Amount_cfg__GI(ctx);
        logi(ctx, "Modbus w Alarm.Num = %04x \n", amount);
        r = fn_Modbus_Device_RW_16(ctx, enWee, cat.addrAlarmAmount, amount);
    }
    if (r < 0) {
        mf_104_msg_cfg__SID(ctx, kMsgWriteNg);
        return r;
    }
    fn_Affect_by_Alarm_Amount(ctx);
    mf_104_msg_cfg__SID(ctx, kMsgWriteOk);
    return 0;
}

}  // namespace conf
