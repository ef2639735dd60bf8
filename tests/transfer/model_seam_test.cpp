// Two configurators in one process: a model A context and a context of a model whose map has
// 32-bit parameters and another recovery block. Each runs its own plans on its own line.

#include <gtest/gtest.h>

#include <vector>

#include "core/selector.h"
#include "models/model.h"
#include "models/model_a.h"
#include "params/alarm.h"
#include "tests/support/fixtures.h"
#include "transfer/config_block.h"
#include "transfer/read_all.h"

namespace {

using transfertest::Bytes;
using transfertest::kDevInfoRequest;
using transfertest::ReadRequest;
using transfertest::TransferTest;

// Model A's map with alarm 1's set point and hysteresis and alarm 2's set point as 32-bit
// values from 0x1005, accepting the codes of the model B instrument it is tried on.
struct WideModel {
    WideModel() {
        const conf::Model& a = conf::ModelA();
        // Model A's registers there (a second value and the status bits) give way.
        for (const conf::RegisterRecord& r : a.registers)
            if (r.address < 0x1005 || r.address > 0x1007) registers.push_back(r);
        registers.push_back({0x1005, 32, "A1SP", conf::Module::kAxSP, 0, conf::FollowUp::kNone});
        registers.push_back({0x1006, 32, "A1HY", conf::Module::kAxHY, 0, conf::FollowUp::kNone});
        registers.push_back({0x1007, 32, "A2SP", conf::Module::kAxSP, 1, conf::FollowUp::kNone});
    }
    conf::Model Make() const {
        conf::Model m = conf::ModelA();
        m.id.programNumber = 105;
        m.id.codes = codes;
        m.registers = registers;
        m.read.block32Address = 0x1005;
        m.read.block32Count = 3;
        m.recovery = {.address = 0x100C, .count = 3, .idWord = 0, .brWord = 1, .rtuWord = 2};
        m.transactions = {.wait32 = false, .logYNLine = false};
        return m;
    }
    std::vector<conf::RegisterRecord> registers;
    const conf::ModelCode codes[1] = {{105, "Ombrel"}};
};

// The second program: its own runtime, line and instrument.
struct SecondProgram : conf_test::Configurator {
    explicit SecondProgram(const conf::Model& model) : Configurator(model) {
        conf::RegisterCallbacks(ctx, registry);
        inst = std::make_unique<sim::Instrument>(sim::DefaultConfig(sim::Model::kB),
                                                 fe.VirtualClock().Now());
        simDevice = std::make_unique<sim::SimulatedDevice>(*inst);
        backend.Attach("/virtual/COM5", simDevice.get());
        ctx.com = &com;
    }
    ~SecondProgram() {
        com.CloseCom(222);
        backend.Detach("/virtual/COM5");
    }
    std::vector<Bytes> Requests() {
        std::vector<Bytes> out;
        for (const auto& e : inst->TakeLog())
            out.push_back(e.request);
        return out;
    }
    std::unique_ptr<sim::Instrument> inst;
    std::unique_ptr<sim::SimulatedDevice> simDevice;
};

TEST_F(TransferTest, TwoContextsOfTwoModelsEachRunTheirOwnPlans) {
    const WideModel wide;
    const conf::Model wideModel = wide.Make();
    StartWith(104, 2);
    SecondProgram second(wideModel);
    ASSERT_EQ(conf::MainPanel::init(second.ctx), 0) << second.rt.LastError();

    // Start-up of the second: its own recovery block, then read-all with its 32-bit block.
    const std::vector<Bytes> secondStart = second.Requests();
    ASSERT_GE(secondStart.size(), 1u);
    EXPECT_EQ(secondStart.front(), ReadRequest(0x100C, 3));
    EXPECT_EQ(second.ctx.gvHW, 105);
    EXPECT_EQ(second.ctx.gr, 0);

    // One read-all each, interleaved: each line sees only its own plan.
    Requests();
    EXPECT_EQ(PressRead(), 0);
    EXPECT_EQ(conf::Para_Fr_Dev::onClick(second.ctx), 0);
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{kDevInfoRequest, ReadRequest(0x1F04, 2), ReadRequest(0x0000, 31),
                                  ReadRequest(0x001F, 1), ReadRequest(0x1F02, 2)}));
    EXPECT_EQ(second.Requests(),
              (std::vector<Bytes>{kDevInfoRequest, ReadRequest(0x1F04, 2), ReadRequest(0x0000, 31),
                                  ReadRequest(0x1005, 6), ReadRequest(0x001F, 1),
                                  ReadRequest(0x1F02, 2)}));

    // The 32-bit values reached the second program's alarm controls, not the first's.
    std::int32_t a1sp = 0, a2sp = 0;
    ASSERT_EQ(second.inst->RamValue(0x1005, &a1sp), 0);
    ASSERT_EQ(second.inst->RamValue(0x1007, &a2sp), 0);
    EXPECT_EQ(conf::fn_Para_Block_Value(second.ctx, 0x1005), a1sp);
    EXPECT_EQ(conf::fn_Para_Block_Value(second.ctx, 0x1007), a2sp);
    EXPECT_EQ(conf::fn_Para_Block_Value(ctx, 0x1005), 0);  // model A has no such parameter
    EXPECT_EQ(conf::fn_Para_Block_Value(ctx, 17), Ram(17));
    EXPECT_EQ(Status(), "Read OK");
    EXPECT_EQ(
        second.rt.GetControl(second.ctx.gvMain, second.rt.FindCtrl(second.ctx.gvMain, "MSG"))->text,
        "Read OK");
    EXPECT_EQ(ctx.Source("__UART"), "m104__UART");
    EXPECT_EQ(second.ctx.Source("__UART"), "m105__UART");
}

// The configuration block has a way to the page for every parameter register of the map, and
// none for the registers outside it.
TEST_F(TransferTest, EveryParameterOfModelAsDescriptorIsKnownToTheProgram) {
    StartWith(104, 2);
    for (const conf::RegisterRecord& r : conf::ModelA().registers)
        EXPECT_EQ(conf::fn_Para_to_GUI(ctx, r.address, conf::fn_Para_Block_Value(ctx, r.address)),
                  conf::IsParameterModule(r.module) ? 0 : -1)
            << r.name;
}

}  // namespace
