#include "params/polarity.h"

#include "models/model.h"

namespace conf {

RingModule POLAR_cfg_def(const Context& ctx) {
    return RingModule{
        &Context::gvCAL, ctx.model.catalogue.ccPOLAR, {}, nullptr, nullptr, kColorNormal, false};
}

}  // namespace conf
