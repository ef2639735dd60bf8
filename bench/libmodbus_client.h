#pragma once
// libmodbus, the reference Modbus library, sending the very requests a suite command sent, so
// that the two can be timed side by side on the same line against the same instrument.

#include <modbus/modbus.h>

#include <string>
#include <vector>

#include "bench/line_tally.h"
#include "platform/serial/line_settings.h"

namespace bench {

class LibmodbusClient {
  public:
    LibmodbusClient() = default;
    LibmodbusClient(const LibmodbusClient&) = delete;
    LibmodbusClient& operator=(const LibmodbusClient&) = delete;
    ~LibmodbusClient() { Close(); }

    // "libmodbus 3.1.6"
    static std::string Name();
    // Opens the device (RS-232 mode, answer time-out 0.5 s). 0, or -1 with *error set.
    int Open(const std::string& devicePath, const serial::LineSettings& settings,
             std::string* error);
    // Sends each request (a whole frame, CRC included; libmodbus puts on its own, the same)
    // and reads its answer: codes 3 and 4 through the library's register reads, the
    // instrument's register writes 5, 6 and 16 as raw requests with the library's framing of
    // their 8-byte answers. Stops at the first failure: -1 with *error naming the request.
    // *tally counts every request and answer.
    int Replay(const std::vector<Frame>& requests, Tally* tally, std::string* error);
    void Close();

  private:
    int Send(const Frame& request, int* answerBytes, std::string* error);

    modbus_t* ctx_ = nullptr;
    serial::LineSettings settings_;
};

}  // namespace bench
