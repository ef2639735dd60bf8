// Answers of the instrument to the configurator's transaction engine, 16 and 32 bit, through
// the register access calls (three attempts, event log or calibration trace) or straight into
// the engines with any request. Input:
//   byte 0   bit 0 model B (its 0.05 s wait before multi-word answers); bits 1-3 the call:
//            0 RW_16, 1 RW_16_CAL, 2 RW_32, 3 RW_32_CAL, 4 the 16-bit engine, 5 the 32-bit
//            engine (6, 7 as 4, 5 with no trace)
//   byte 1   function code; bytes 2-3 register address; bytes 4-5 count or value
//   byte 6   size of the caller's value array
//   engines only: byte 7 bit 0 a 13-byte request, then 6 bytes more of it (station, bytes
//   6-10 of a multi-word write)
//   then the answers of the attempts (fuzz_support.h, ScriptAnswers).

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "modbus/access_mode.h"
#include "models/model_a.h"
#include "models/model_b.h"
#include "session/modbus_api.h"
#include "session/modbus_core.h"

namespace {

template <class T>
int Engine(fuzz::Configurator& c, fuzz::Input& in, unsigned code, unsigned address, unsigned count,
           std::vector<T>& values, sys::LogStream* trace) {
    const bool wide = (in.Byte() & 1) != 0;
    std::uint8_t request[13] = {};
    request[0] = in.Byte();
    request[1] = static_cast<std::uint8_t>(code);
    request[2] = static_cast<std::uint8_t>(address >> 8);
    request[3] = static_cast<std::uint8_t>(address);
    request[4] = static_cast<std::uint8_t>(count >> 8);
    request[5] = static_cast<std::uint8_t>(count);
    for (int i = 6; i < 11; ++i)
        request[i] = in.Byte();
    fuzz::ScriptAnswers(in, c.device, 1);
    if constexpr (sizeof(T) == 2)
        return conf::fn_Send_MB_MSG_16_A(c.ctx, conf::kPort222, request, wide ? 13 : 8, values,
                                         trace);
    else
        return conf::fn_Send_MB_MSG_32_A(c.ctx, conf::kPort222, request, wide ? 13 : 8, values,
                                         trace);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    const std::uint8_t how = in.Byte();
    fuzz::Configurator c((how & 1) ? conf::ModelB() : conf::ModelA());
    if (fuzz::LoadLinkPanel(c) < 0) __builtin_trap();
    c.ctx.gpLog.Open("log.txt", "w");
    c.ctx.gpCAL.Open("log_ADC.txt", "w");

    const unsigned code = in.Byte();
    const unsigned address = in.Word();
    const unsigned count = in.Word();
    std::vector<std::int16_t> values16(in.Byte());
    std::vector<std::int32_t> values32(values16.size());
    const int call = how >> 1 & 7;
    if (call < 4) fuzz::ScriptAnswers(in, c.device, 3);
    switch (call) {
        case 0:
            conf::fn_Modbus_Device_RW_16(c.ctx, static_cast<int>(code), static_cast<int>(address),
                                         static_cast<int>(count), values16);
            break;
        case 1:
            conf::fn_Modbus_Device_RW_16_CAL(c.ctx, static_cast<int>(code),
                                             static_cast<int>(address), static_cast<int>(count),
                                             values16);
            break;
        case 2:
            conf::fn_Modbus_Device_RW_32(c.ctx, code, static_cast<int>(address),
                                         static_cast<int>(count), values32);
            break;
        case 3:
            conf::fn_Modbus_Device_RW_32_CAL(c.ctx, code, static_cast<int>(address),
                                             static_cast<int>(count), values32);
            break;
        case 4:
            Engine(c, in, code, address, count, values16, &c.ctx.gpLog);
            break;
        case 5:
            Engine(c, in, code, address, count, values32, &c.ctx.gpLog);
            break;
        case 6:
            Engine(c, in, code, address, count, values16, nullptr);
            break;
        default:
            Engine(c, in, code, address, count, values32, nullptr);
            break;
    }
    return 0;
}
