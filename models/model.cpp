#include "models/model.h"

#include <iterator>

namespace conf {

namespace {

// By enumerator, in declaration order.
constexpr const char* kModuleNames[] = {
    "?",
    "TYPE_cfg",
    "UNIT_cfg",
    "DP_cfg",
    "MRng_usr_cfg",
    "PVOF_usr_cfg",
    "LinScale_cfg",
    "FILT_cfg",
    "DIR_cfg",
    "CUT_cfg",
    "RTS_V_cfg",
    "ID_cfg",
    "BR_cfg",
    "AxFU_cfg",
    "AxMD_cfg",
    "AxSP_cfg",
    "AxHY_cfg",
    "LinSig_cfg",
    "RTU_cfg",
    "Lock_cfg",
    "RS485",
    "POLAR_cfg",
    "IC",
    "ARelay",
    "UART_B",
    "MSPV_V",
    "ADC_V_M",
    "Status",
    "DevInfo2",
    "SN_V",
    "DIGIT_cfg",
    "Alarm_Amount_cfg",
};
static_assert(std::size(kModuleNames) == static_cast<std::size_t>(Module::kCount));

}  // namespace

const char* ModuleName(Module module) {
    const auto i = static_cast<std::size_t>(module);
    return i < std::size(kModuleNames) ? kModuleNames[i] : "?";
}

bool IsParameterModule(Module module) {
    return module >= Module::kType && module <= Module::kLock;
}

const RegisterRecord* FindRegister(const Model& model, int address) {
    for (const RegisterRecord& r : model.registers)
        if (r.address == address) return &r;
    return nullptr;
}

const RegisterRecord* RegisterOf(const Model& model, Module module, int member) {
    for (const RegisterRecord& r : model.registers)
        if (r.module == module && r.member == member) return &r;
    return nullptr;
}

int AddressOf(const Model& model, Module module, int member) {
    const RegisterRecord* r = RegisterOf(model, module, member);
    return r ? r->address : -1;
}

const char* ProductOf(const Model& model, int code) {
    for (const ModelCode& c : model.id.codes)
        if (c.code == code) return c.product;
    return nullptr;
}

}  // namespace conf
