// Answers of an instrument to Scan's Modbus client: the register call with its three attempts,
// or one transaction with the trace switch off. Input:
//   byte 0   bit 0 one transaction (fn_Send_MB_MSG_201_A) with the trace switch off instead
//            of the register call
//   byte 1   function code; bytes 2-3 register; bytes 4-5 count or value; byte 6 station
//   byte 7   size of the caller's value array
//   then the answers of the attempts (fuzz_support.h, ScriptAnswers).

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scan/modbus_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    fuzz::Scan s;
    s.ctx.gpLog.Open("log.txt", "w");
    if (s.com.OpenComConfig(scan::kPort222, "COM5", 19200, 0, 8, 2) < 0 ||
        s.com.SetComTime(scan::kPort222, 0.5) < 0)
        __builtin_trap();

    const bool single = (in.Byte() & 1) != 0;
    const int code = in.Byte();
    const int reg = static_cast<int>(in.Word());
    const int value = static_cast<int>(in.Word());
    s.ctx.gvIDd = in.Byte();
    std::vector<std::uint16_t> values(in.Byte());
    fuzz::ScriptAnswers(in, s.com5, single ? 1 : 3);
    if (single) {
        std::uint8_t frame[8] = {static_cast<std::uint8_t>(s.ctx.gvIDd),
                                 static_cast<std::uint8_t>(code),
                                 static_cast<std::uint8_t>(reg >> 8),
                                 static_cast<std::uint8_t>(reg),
                                 static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value),
                                 0,
                                 0};
        scan::fn_Send_MB_MSG_201_A(s.ctx, scan::kPort222, frame, 8, &s.ctx.gpLog, values, 0);
    } else {
        scan::fn_Modbus_Device(s.ctx, code, reg, value, values);
    }
    return 0;
}
