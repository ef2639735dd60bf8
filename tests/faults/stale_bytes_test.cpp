// An instrument that does not stop talking when the master starts again: noise in front of its
// answer makes the first attempt's read end early with a bad CRC while the answer's last bytes
// are still on the line. They must not be taken for the start of the next attempt's answer.

#include <array>

#include "fault_fixture.h"
#include "session/modbus_api.h"

namespace faulttest {
namespace {

class StaleBytes : public linktest::LinkTest {
  protected:
    void SetUp() override {
        OpenLog();
        OpenPort();
    }
    const Bytes answer = Sealed({0x01, 0x03, 0x04, 0x00, 0x11, 0x00, 0x22});
    const Bytes request = Sealed({0x01, 0x03, 0x10, 0x03, 0x00, 0x02});
};

TEST_F(StaleBytes, NoiseInFrontOrAnAnswerLongerThanAskedForCostsOneAttemptOnly) {
    Bytes noisy{0x00, 0xFF, 0x55};
    noisy.insert(noisy.end(), answer.begin(), answer.end());
    // An answer with a byte too many in front (a wrong byte count, say) is whole at its end:
    // what comes after the expected length is left on the line.
    Bytes longer = answer;
    longer.insert(longer.begin() + 3, {0x00, 0x00});
    conf::fn_Get_CRC(longer.data(), static_cast<int>(longer.size()));
    for (const Bytes& first : {noisy, longer}) {
        device.requests.clear();
        device.Answer(first, 0.003);
        device.Answer(answer, 0.003);
        std::array<std::int16_t, 2> v{};
        const double start = fe.VirtualClock().Now();
        const std::size_t mark = Log().size();
        EXPECT_EQ(conf::fn_Modbus_Device_RW_16(ctx, 3, 0x1003, 2, v), 0);
        EXPECT_EQ(v, (std::array<std::int16_t, 2>{0x11, 0x22}));
        // The second attempt got its own answer, whole.
        EXPECT_EQ(device.requests.size(), 2u);
        EXPECT_EQ(Log().substr(mark), TxLine(request) + TxLine(request) +
                                          "\tP222\tMB.Rx\t#01.03 (04)   [0011][0022]  {" +
                                          Fmt("%04x", Word(answer, answer.size() - 2)) +
                                          "}\tRead\n\n");
        // Waiting for the line to fall silent costs a few characters, not a time-out.
        EXPECT_LT(fe.VirtualClock().Now() - start, 0.1);
    }
}

}  // namespace
}  // namespace faulttest
