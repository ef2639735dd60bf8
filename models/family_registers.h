#pragma once
// The registers every model of the family has at the same place: the device information, the
// serial number, the display digits and the alarm amount. Each model's map ends with them.

#include <array>
#include <cstddef>

#include "models/family.h"
#include "models/model.h"

namespace conf::family {

inline constexpr RegisterRecord kDevInfoRecords[] = {
    {kDevInfoRegister, 16, "HW.FW", Module::kDevInfo, 0, FollowUp::kNone},
    {0x1F01, 16, "-", Module::kDevInfo, 1, FollowUp::kNone},
    {0x1F02, 16, "SN.H", Module::kSerial, 0, FollowUp::kNone},
    {0x1F03, 16, "SN.L", Module::kSerial, 1, FollowUp::kNone},
    {0x1F04, 16, "DIGIT", Module::kDigit, 0, FollowUp::kNone},
    {0x1F05, 16, "Alarm.Num", Module::kAlarmAmount, 0, FollowUp::kNone},
};

// A model's own records followed by the family's.
template <std::size_t N>
constexpr auto WithDevInfo(const RegisterRecord (&own)[N]) {
    std::array<RegisterRecord, N + std::size(kDevInfoRecords)> all{};
    std::size_t i = 0;
    for (const RegisterRecord& r : own)
        all[i++] = r;
    for (const RegisterRecord& r : kDevInfoRecords)
        all[i++] = r;
    return all;
}

}  // namespace conf::family
