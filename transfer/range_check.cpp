#include "transfer/range_check.h"

#include "core/selector.h"
#include "params/alarm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/measuring.h"

namespace conf {

int Para_To_Dev::Check_OOR(Context& ctx) {
    int sum = UNIT_cfg::OOR(ctx) + DP_cfg::OOR(ctx) + PVOF_usr_cfg::OOR(ctx) + FILT_cfg::OOR(ctx);
    for (int member = 0; member < 2; ++member) {
        SetField(ctx.gsRAM01, kSelMRngUsr, member);
        sum += MRng_usr_cfg::OOR(ctx);
        SetField(ctx.gsRAM01, kSelLinScale, member);
        sum += LinScale_cfg::OOR(ctx);
        SetField(ctx.gsRAM01, kSelAlarm, member);
        sum += AxSP_cfg::OOR(ctx);
        sum += AxHY_cfg::OOR(ctx);
    }
    for (int row = 0; row < 6; ++row) {
        SetField(ctx.gsRAM01, kSelLinSig, row);
        sum += LinSig_cfg::OOR(ctx);
    }
    return sum;
}

}  // namespace conf
