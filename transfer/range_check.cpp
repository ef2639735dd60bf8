#include "transfer/range_check.h"

#include "core/selector.h"
#include "params/alarm104.h"
#include "params/input104.h"
#include "params/linear104.h"
#include "params/measuring104.h"

namespace conf {

int mf_104_Para_To_Dev__Check_OOR(Context& ctx) {
    int sum = mf_104_UNIT_cfg__OOR(ctx) + mf_104_DP_cfg__OOR(ctx) + mf_104_PVOF_usr_cfg__OOR(ctx) +
              mf_104_FILT_cfg__OOR(ctx);
    for (int member = 0; member < 2; ++member) {
        SetField(ctx.gsRAM01, kSelMRngUsr, member);
        sum += mf_104_MRng_usr_cfg__OOR(ctx);
        SetField(ctx.gsRAM01, kSelLinScale, member);
        sum += mf_104_LinScale_cfg__OOR(ctx);
        SetField(ctx.gsRAM01, kSelAlarm, member);
        sum += mf_104_AxSP_cfg__OOR(ctx);
        sum += mf_104_AxHY_cfg__OOR(ctx);
    }
    for (int row = 0; row < 6; ++row) {
        SetField(ctx.gsRAM01, kSelLinSig, row);
        sum += mf_104_LinSig_cfg__OOR(ctx);
    }
    return sum;
}

}  // namespace conf
