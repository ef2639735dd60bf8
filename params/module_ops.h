#pragma once
// The operations every parameter module of a kind has, under the module's own name: a module
// is a type deriving from the operations of its kind, over the function that builds its
// definition (controls, registers, selector field, scaling, range rule) from the context's
// model. `ID_cfg::SV(ctx, raw)` is then the numeric SV on ID_cfg's controls; a module adds only
// the operations of its own (`DP_cfg::Mul_Div`).
//
// A module with an operation that talks to the instrument is split, so that each member is
// declared in the layer that defines it and params/ includes nothing above it: its panel side
// stands in params/ as `RSP_panel`, and the layer above declares `struct RSP : RSP_panel` with
// that operation (`RSP::to_Modbus` in monitor/remote_value.h). Code below that layer calls the
// panel side by its `_panel` name; everything else writes `RSP::` as usual.

#include "core/context.h"
#include "params/locator.h"
#include "params/numeric.h"
#include "params/radio.h"
#include "params/ring.h"

namespace conf {

template <NumericModule (*Def)(const Context&)>
struct NumericOps {
    static NumericModule Definition(const Context& ctx) { return Def(ctx); }
    static int init(Context& ctx, Locator* loc) { return num::Init(ctx, Def(ctx), loc); }
    static int SV(Context& ctx, int raw) { return num::SV(ctx, Def(ctx), raw); }
    static int GV(Context& ctx) { return num::GV(ctx, Def(ctx)); }
    // A numeric control holds any raw value (its register's width is the caller's to check).
    static int Holds(Context&, int) { return 1; }
    static int SA_i32(Context& ctx, int attribute, int value) {
        return num::SA_i32(ctx, Def(ctx), attribute, value);
    }
    static int SA_i32_all(Context& ctx, int attribute, int value) {
        return num::SA_i32_all(ctx, Def(ctx), attribute, value);
    }
    static int Query_Range(Context& ctx, int* min, int* max) {
        return num::Query_Range(ctx, Def(ctx), min, max);
    }
    static int Hi_Light(Context& ctx, int on) { return num::Hi_Light(ctx, Def(ctx), on); }
    static int OOR(Context& ctx) { return num::OOR(ctx, Def(ctx)); }
    static int Limit(Context& ctx) { return num::Limit(ctx, Def(ctx)); }
    static int Who_Am_I(Context& ctx, int panel, int control) {
        return num::Who_Am_I(ctx, Def(ctx), panel, control);
    }
    static int q_MB_Address(Context& ctx) { return num::q_MB_Address(ctx, Def(ctx)); }
    static int Set_Precision(Context& ctx) { return num::Set_Precision(ctx, Def(ctx)); }
    static int Refresh(Context& ctx) { return num::Refresh(ctx, Def(ctx)); }
    static int Toggle_Dim(Context& ctx, int dim) { return num::Toggle_Dim(ctx, Def(ctx), dim); }
};

template <RingModule (*Def)(const Context&)>
struct RingOps {
    static RingModule Definition(const Context& ctx) { return Def(ctx); }
    static int init(Context& ctx, Locator* loc) { return ring::Init(ctx, Def(ctx), loc); }
    static int SI(Context& ctx, int index) { return ring::SI(ctx, Def(ctx), index); }
    static int GI(Context& ctx) { return ring::GI(ctx, Def(ctx)); }
    static int Holds(Context& ctx, int index) { return ring::Holds(ctx, Def(ctx), index); }
    static int SA_i32(Context& ctx, int attribute, int value) {
        return ring::SA_i32(ctx, Def(ctx), attribute, value);
    }
    static int Query_Range(Context& ctx, int* min, int* max) {
        return ring::Query_Range(ctx, Def(ctx), min, max);
    }
    static int Hi_Light(Context& ctx, int on) { return ring::Hi_Light(ctx, Def(ctx), on); }
    static int OOR_EX(Context& ctx, int value) { return ring::OOR_EX(ctx, Def(ctx), value); }
    static int OOR(Context& ctx) { return ring::OOR(ctx, Def(ctx)); }
    static int Limit(Context& ctx) { return ring::Limit(ctx, Def(ctx)); }
    static int Who_Am_I(Context& ctx, int panel, int control) {
        return ring::Who_Am_I(ctx, Def(ctx), panel, control);
    }
    static int q_MB_Address(Context& ctx) { return ring::q_MB_Address(ctx, Def(ctx)); }
    static int Toggle_Dim(Context& ctx, int dim) { return ring::Toggle_Dim(ctx, Def(ctx), dim); }
};

template <RadioGroup (*Def)(const Context&)>
struct RadioOps {
    static RadioGroup Definition(const Context& ctx) { return Def(ctx); }
    static int who_am_I(Context& ctx, int panel, int control) {
        return radio::who_am_I(ctx, Def(ctx), panel, control);
    }
    static int init(Context& ctx, int index, Locator* loc) {
        return radio::init(ctx, Def(ctx), index, loc);
    }
    static int Radio__SV(Context& ctx, int index, int on) {
        return radio::Radio__SV(ctx, Def(ctx), index, on);
    }
    static int Radio__GV(Context& ctx, int index) { return radio::Radio__GV(ctx, Def(ctx), index); }
    static int SV(Context& ctx, int index) { return radio::SV(ctx, Def(ctx), index); }
    static int GV(Context& ctx) { return radio::GV(ctx, Def(ctx)); }
    static int Holds(Context& ctx, int index) { return radio::Holds(Def(ctx), index); }
    static int SetActive(Context& ctx) { return radio::SetActive(ctx, Def(ctx)); }
    static int HotKey(Context& ctx, int index, int step) {
        return radio::HotKey(ctx, Def(ctx), index, step);
    }
};

}  // namespace conf
