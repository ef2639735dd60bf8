#include "transfer/range_check.h"

#include "core/selector.h"
#include "models/model.h"
#include "params/alarm.h"
#include "params/comm.h"
#include "params/input.h"
#include "params/linear.h"
#include "params/measuring.h"

namespace conf {

namespace {

// A module's range test, with the selector field that picks its member.
struct Checked {
    Module module;
    const SelectorField* field;  // null: a single-control module
    int (*oor)(Context&);
};

constexpr Checked kChecks[] = {
    {Module::kUnit, nullptr, UNIT_cfg::OOR},
    {Module::kDp, nullptr, DP_cfg::OOR},
    {Module::kPvofUsr, nullptr, PVOF_usr_cfg::OOR},
    {Module::kFilt, nullptr, FILT_cfg::OOR},
    {Module::kId, nullptr, ID_cfg::OOR},
    {Module::kMRngUsr, &kSelMRngUsr, MRng_usr_cfg::OOR},
    {Module::kLinScale, &kSelLinScale, LinScale_cfg::OOR},
    {Module::kAxSP, &kSelAlarm, AxSP_cfg::OOR},
    {Module::kAxHY, &kSelAlarm, AxHY_cfg::OOR},
    {Module::kLinSig, &kSelLinSig, LinSig_cfg::OOR},
};

const Checked* CheckOf(Module module) {
    for (const Checked& c : kChecks)
        if (module == c.module) return &c;
    return nullptr;
}

int CheckMember(Context& ctx, const Checked& check, int member) {
    if (check.field) SetField(ctx.gsRAM01, *check.field, member);
    return check.oor(ctx);
}

}  // namespace

int Para_To_Dev::Check_OOR(Context& ctx) {
    // The model's list in its order; a module of several members is checked member by member.
    // The alarm pair shares one field, so both of a member are checked before the next.
    int sum = 0;
    const auto& list = ctx.model.write.rangeCheck;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Checked* check = CheckOf(list[i].module);
        if (!check) continue;
        if (list[i].members == 1) {
            sum += CheckMember(ctx, *check, 0);
            continue;
        }
        // A run of entries of the same member count is checked member by member together.
        std::size_t end = i;
        while (end < list.size() && list[end].members == list[i].members &&
               CheckOf(list[end].module) && CheckOf(list[end].module)->field)
            ++end;
        for (int member = 0; member < list[i].members; ++member)
            for (std::size_t j = i; j < end; ++j)
                sum += CheckMember(ctx, *CheckOf(list[j].module), member);
        i = end - 1;
    }
    return sum;
}

}  // namespace conf
