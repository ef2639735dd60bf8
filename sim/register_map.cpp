#include "sim/register_map.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::int32_t kAny = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kAnyMax = std::numeric_limits<std::int32_t>::max();

RegisterDef Param(int address, const char* name, std::int32_t initial, std::int32_t min = kAny,
                  std::int32_t max = kAnyMax) {
    RegisterDef d;
    d.address = address;
    d.name = name;
    d.writable = true;
    d.initial = initial;
    d.min = min;
    d.max = max;
    return d;
}

RegisterDef WideParam(int address, const char* name, std::int32_t initial) {
    RegisterDef d = Param(address, name, initial);
    d.wide = true;
    return d;
}

RegisterDef Link(int address, Role role, const char* name, std::int32_t initial, std::int32_t min,
                 std::int32_t max) {
    RegisterDef d = Param(address, name, initial, min, max);
    d.role = role;
    return d;
}

// A read-only register of the measuring side (second values, process value, converters,
// status, identity): readable with code 3 and code 4.
RegisterDef Live(int address, Role role, const char* name, int index = 0, bool wide = false) {
    RegisterDef d;
    d.address = address;
    d.role = role;
    d.name = name;
    d.readOnlyMemory = true;
    d.index = index;
    d.wide = wide;
    return d;
}

RegisterDef Command(int address, Role role, const char* name, int index = 0) {
    RegisterDef d;
    d.address = address;
    d.role = role;
    d.name = name;
    d.writable = true;
    d.index = index;
    d.readable = role != Role::kForce;
    return d;
}

// Linear-signal rows: 50.00 mV, 10.00 V and 4.00..20.00 mA spans.
void AddLinearRows(std::vector<RegisterDef>* m, int first) {
    m->push_back(Param(first + 0, "mV.L", 0, -6000, 6000));
    m->push_back(Param(first + 1, "mV.H", 5000, -6000, 6000));
    m->push_back(Param(first + 2, "V.L", 0, -1000, 1000));
    m->push_back(Param(first + 3, "V.H", 1000, -1000, 1000));
    m->push_back(Param(first + 4, "mA.L", 400, 0, 2400));
    m->push_back(Param(first + 5, "mA.H", 2000, 0, 2400));
}

// Registers both models share: link working registers, commands, identity block.
void AddCommon(std::vector<RegisterDef>* m, const InstrumentConfig& c, bool hasFormatRegister) {
    m->push_back(Link(13, Role::kStation, "ID", c.station, 1, 255));
    m->push_back(Link(14, Role::kBaud, "BR", c.baudIndex, 0, 3));
    if (hasFormatRegister) m->push_back(Link(29, Role::kFormat, "RTU", c.formatIndex, 0, 3));
    m->push_back(Command(0x0A02, Role::kCalibration, "CAL"));
    m->push_back(Command(0x0A04, Role::kRelayTest, "RELAY1", 0));
    m->push_back(Command(0x0A05, Role::kRelayTest, "RELAY2", 1));
    m->push_back(Command(0x0A07, Role::kForce, "FORCE"));
    m->push_back(Live(0x1F00, Role::kDeviceCode, "HW.FW"));
    m->push_back(Live(0x1F01, Role::kSpare, "-"));
    const auto sn = c.serialNumber;
    m->push_back(Param(0x1F02, "SN.H", static_cast<std::int16_t>(sn >> 16 & 0xFFFF)));
    m->push_back(Param(0x1F03, "SN.L", static_cast<std::int16_t>(sn & 0xFFFF)));
    RegisterDef digits = Param(0x1F04, "DIGIT", 1);
    digits.role = Role::kDisplayDigits;
    m->push_back(digits);
    RegisterDef alarms = Param(0x1F05, "Alarm.Num", 2);
    alarms.role = Role::kAlarmAmount;
    m->push_back(alarms);
}

// Model A: thermocouple K in degrees Celsius, 0..1000 measured, alarms at 800 and 100.
std::vector<RegisterDef> ModelA(const InstrumentConfig& c) {
    std::vector<RegisterDef> m;
    m.push_back(Param(0, "TYPE", 1, 0, 13));
    m.push_back(Param(1, "UNIT", 0, 0, 2));
    m.push_back(Param(2, "DP", 0, 0, 3));
    m.push_back(Param(3, "LOLT", 0));
    m.push_back(Param(4, "HILT", 1000));
    m.push_back(Param(5, "PVOF", 0));
    m.push_back(Param(6, "SCA.L", 0));
    m.push_back(Param(7, "SCA.H", 1000));
    m.push_back(Param(8, "FILT", 5, 0, 999));
    m.push_back(Param(9, "DIR", 0, 0, 1));
    m.push_back(Param(10, "CUT", 0));
    m.push_back(Param(11, "RTS.L", 3277, 0, 32767));
    m.push_back(Param(12, "RTS.H", 16384, 0, 32767));
    m.push_back(Param(15, "A1FU", 1));
    m.push_back(Param(16, "A1MD", 0));
    m.push_back(Param(17, "A1SP", 800));
    m.push_back(Param(18, "A1HY", 2));
    m.push_back(Param(19, "A2FU", 2));
    m.push_back(Param(20, "A2MD", 0));
    m.push_back(Param(21, "A2SP", 100));
    m.push_back(Param(22, "A2HY", 2));
    AddLinearRows(&m, 23);
    const bool full = c.firmware >= 2;  // firmware 1 stops at register 28
    if (full) m.push_back(Param(30, "LOCK", 0));
    m.push_back(Param(0x001F, "RS485", 1, 0, 1));
    AddCommon(&m, c, full);
    m.push_back(Live(0x1000, Role::kStoredStation, "ID_B"));
    m.push_back(Live(0x1001, Role::kStoredBaud, "BR_B"));
    RegisterDef pv = Live(0x1002, Role::kProcessValue, "PV");
    pv.writable = true;
    m.push_back(pv);
    m.push_back(Live(0x1003, Role::kConverter, "ADC0", 0));
    m.push_back(Live(0x1004, Role::kConverter, "ADC1", 1));
    m.push_back(Live(0x1005, Role::kStoredFormat, "RTU_B"));
    m.push_back(Live(0x1006, Role::kStatusBits, "STATUS"));
    return m;
}

// Model B: 4..20 mA input shown 0.0..1000.0, alarms at 800.0 and 200.0.
std::vector<RegisterDef> ModelB(const InstrumentConfig& c) {
    std::vector<RegisterDef> m;
    m.push_back(Param(0, "TYPE", 2));
    m.push_back(Param(1, "-", 0));
    m.push_back(Param(2, "DP", 1, 0, 5));
    for (int a = 3; a <= 7; ++a)
        m.push_back(Param(a, "-", 0));
    m.push_back(Param(8, "FILT", 5, 0, 999));
    m.push_back(Param(9, "DIR", 0, 0, 1));
    m.push_back(Param(10, "CUT", 0));
    m.push_back(Param(11, "RTS.L", 3277, 0, 32767));
    m.push_back(Param(12, "RTS.H", 16384, 0, 32767));
    m.push_back(Param(15, "A1FU", 1));
    m.push_back(Param(16, "A1MD", 0));
    m.push_back(Param(17, "-", 0));
    m.push_back(Param(18, "-", 0));
    m.push_back(Param(19, "A2FU", 2));
    m.push_back(Param(20, "A2MD", 0));
    m.push_back(Param(21, "-", 0));
    m.push_back(Param(22, "-", 0));
    AddLinearRows(&m, 23);
    m.push_back(Param(30, "LOCK", 0));
    m.push_back(Live(0x001F, Role::kStatusBits, "STATUS"));
    m.push_back(Param(0x0020, "RS485", 1, 0, 1));
    m.push_back(Param(0x0A08, "POLAR", 0, 0, 1));
    AddCommon(&m, c, true);
    RegisterDef pv = Live(0x1000, Role::kProcessValue, "PV", 0, true);
    pv.writable = true;
    m.push_back(pv);
    m.push_back(WideParam(0x1001, "LOLT", 0));
    m.push_back(WideParam(0x1002, "HILT", 10000));
    m.push_back(WideParam(0x1003, "SCA.L", 0));
    m.push_back(WideParam(0x1004, "SCA.H", 10000));
    m.push_back(WideParam(0x1005, "A1SP", 8000));
    m.push_back(WideParam(0x1006, "A1HY", 10));
    m.push_back(WideParam(0x1007, "A2SP", 2000));
    m.push_back(WideParam(0x1008, "A2HY", 10));
    m.push_back(WideParam(0x1009, "PVOF", 0));
    m.push_back(Live(0x100A, Role::kConverter, "ADC", 0, true));
    m.push_back(Live(0x100C, Role::kStoredStation, "ID_B"));
    m.push_back(Live(0x100D, Role::kStoredBaud, "BR_B"));
    m.push_back(Live(0x100E, Role::kStoredFormat, "RTU_B"));
    return m;
}

}  // namespace

RegisterMap::RegisterMap(std::vector<RegisterDef> defs) : defs_(std::move(defs)) {
    std::sort(defs_.begin(), defs_.end(),
              [](const RegisterDef& a, const RegisterDef& b) { return a.address < b.address; });
}

const RegisterDef* RegisterMap::Find(int address) const {
    auto it = std::lower_bound(defs_.begin(), defs_.end(), address,
                               [](const RegisterDef& d, int a) { return d.address < a; });
    return it != defs_.end() && it->address == address ? &*it : nullptr;
}

RegisterMap BuildRegisterMap(const InstrumentConfig& config) {
    return RegisterMap(config.model == Model::kB ? ModelB(config) : ModelA(config));
}

KeyAddresses KeysOf(Model model) {
    if (model == Model::kB)
        return KeyAddresses{0,  2,  0x1001, 0x1002, 0x1009, 0x1005, 0x1007,
                            13, 14, 29,     0x1F04, 0x1F05, true};
    return KeyAddresses{0, 2, 3, 4, 5, 17, 21, 13, 14, 29, 0x1F04, 0x1F05, false};
}

}  // namespace sim
