#pragma once
// The suite's Modbus client on an in-process line to a simulated instrument at COM5, on the
// headless runtime's virtual clock.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "../link/link_fixture.h"
#include "session/modbus_api.h"
#include "sim/instrument.h"
#include "sim/simulated_device.h"

namespace simtest {

using sim::Bytes;

class SimTest : public linktest::LinkTest {
  protected:
    SimTest() { Start(sim::DefaultConfig(sim::Model::kA)); }

    // A fresh instrument on COM5, switched on now.
    void Start(const sim::InstrumentConfig& config) {
        inst = std::make_unique<sim::Instrument>(config, Now());
        sim = std::make_unique<sim::SimulatedDevice>(*inst);
        backend.Attach("/virtual/COM5", sim.get());
    }
    double Now() { return fe.VirtualClock().Now(); }
    void Advance(double seconds) { fe.VirtualClock().Advance(seconds); }

    // Opens COM5 at these settings with a 0.5 s time-out.
    void Open(long baud, int parity, int dataBits, int stopBits) {
        ASSERT_EQ(com.OpenComConfig(222, "COM5", baud, parity, dataBits, stopBits), 0);
        ASSERT_EQ(com.SetComTime(222, 0.5), 0);
    }
    // One request as given (CRC appended) and whatever answer arrives within the time-out.
    Bytes Exchange(Bytes request, int upTo = 256) {
        request = Sealed(std::move(request));
        EXPECT_EQ(com.ComWrt(222, request.data(), static_cast<int>(request.size())),
                  static_cast<int>(request.size()));
        Bytes answer(static_cast<std::size_t>(upTo));
        int got = com.ComRd(222, answer.data(), upTo);
        answer.resize(static_cast<std::size_t>(std::max(got, 0)));
        return answer;
    }
    // Through the suite's register access, three attempts: the result, values in *out.
    int Read(int address, int count, std::vector<std::int16_t>* out = nullptr, int code = 3) {
        std::vector<std::int16_t> v(static_cast<std::size_t>(count));
        int r = conf::fn_Modbus_Device_RW_16(ctx, code, address, count, v);
        if (out) *out = v;
        return r;
    }
    std::int16_t Reg(int address) {
        std::vector<std::int16_t> v;
        EXPECT_EQ(Read(address, 1, &v), 0) << "register " << address;
        return v.empty() ? 0 : v[0];
    }
    int Write(int address, int value, int code = 5) {
        return conf::fn_Modbus_Device_RW_16(ctx, code, address, value);
    }
    std::int32_t Ram(int address) {
        std::int32_t v = 0;
        EXPECT_EQ(inst->RamValue(address, &v), 0);
        return v;
    }
    std::vector<sim::Outcome> Outcomes() {
        std::vector<sim::Outcome> v;
        for (const auto& e : inst->Log())
            v.push_back(e.outcome);
        return v;
    }

    std::unique_ptr<sim::Instrument> inst;
    std::unique_ptr<sim::SimulatedDevice> sim;
};

}  // namespace simtest
