#include "models/model.h"

namespace conf {

const RegisterRecord* FindRegister(const Model& model, int address) {
    for (const RegisterRecord& r : model.registers)
        if (r.address == address) return &r;
    return nullptr;
}

const char* ProductOf(const Model& model, int code) {
    for (const ModelCode& c : model.id.codes)
        if (c.code == code) return c.product;
    return nullptr;
}

}  // namespace conf
