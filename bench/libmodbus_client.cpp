#include "bench/libmodbus_client.h"

#include <modbus/modbus-rtu.h>
#include <modbus/modbus-version.h>

#include <cerrno>
#include <cstdint>

namespace bench {

namespace {

constexpr std::uint32_t kAnswerTimeoutMicroseconds = 500000;

char ParityLetter(int parity) {
    switch (parity) {
        case serial::kParityOdd:
            return 'O';
        case serial::kParityEven:
            return 'E';
        default:
            return 'N';
    }
}

int Word(const Frame& f, std::size_t at) {
    return f[at] * 256 + f[at + 1];
}

std::string LibraryError() {
    return modbus_strerror(errno);
}

}  // namespace

std::string LibmodbusClient::Name() {
    return std::string("libmodbus ") + LIBMODBUS_VERSION_STRING;
}

int LibmodbusClient::Open(const std::string& devicePath, const serial::LineSettings& settings,
                          std::string* error) {
    Close();
    if (settings.parity != serial::kParityNone && settings.parity != serial::kParityOdd &&
        settings.parity != serial::kParityEven) {
        *error = "libmodbus has no mark or space parity";
        return -1;
    }
    ctx_ = modbus_new_rtu(devicePath.c_str(), settings.baud, ParityLetter(settings.parity),
                          settings.dataBits, settings.stopBits);
    if (ctx_ == nullptr) {
        *error = "modbus_new_rtu: " + LibraryError();
        return -1;
    }
    // Left in RS-232 mode, the library's default: its RS-485 mode needs the TIOCSRS485 ioctl,
    // which a pseudo-terminal refuses (ENOTTY), and an RS-485 adapter turns the line itself.
    if (modbus_set_response_timeout(ctx_, 0, kAnswerTimeoutMicroseconds) != 0 ||
        modbus_connect(ctx_) != 0) {
        *error = devicePath + ": " + LibraryError();
        Close();
        return -1;
    }
    settings_ = settings;
    return 0;
}

void LibmodbusClient::Close() {
    if (ctx_ == nullptr) return;
    modbus_close(ctx_);
    modbus_free(ctx_);
    ctx_ = nullptr;
}

int LibmodbusClient::Send(const Frame& request, int* answerBytes, std::string* error) {
    if (request.size() < 4) {
        *error = "a request of " + std::to_string(request.size()) + " bytes";
        return -1;
    }
    if (request[0] == 0) {
        *error = "a broadcast, which awaits no answer";
        return -1;
    }
    if (modbus_set_slave(ctx_, request[0]) != 0) {
        *error = "station " + std::to_string(request[0]) + ": " + LibraryError();
        return -1;
    }
    const int code = request[1];
    switch (code) {
        case 3:
        case 4: {
            if (request.size() != 8) {
                *error = "a read of " + std::to_string(request.size()) + " bytes";
                return -1;
            }
            const int count = Word(request, 4);
            std::uint16_t registers[MODBUS_MAX_READ_REGISTERS];
            if (count < 1 || count > MODBUS_MAX_READ_REGISTERS) {
                *error = "a read of " + std::to_string(count) + " registers";
                return -1;
            }
            const int got =
                code == 3 ? modbus_read_registers(ctx_, Word(request, 2), count, registers)
                          : modbus_read_input_registers(ctx_, Word(request, 2), count, registers);
            if (got != count) {
                *error = (code == 3 ? "modbus_read_registers: " : "modbus_read_input_registers: ") +
                         LibraryError();
                return -1;
            }
            *answerBytes = 2 * count + 5;
            return 0;
        }
        case 5:
        case 6:
        case 16: {
            // Sent without its CRC: the library adds its own.
            const int length = static_cast<int>(request.size()) - 2;
            if (modbus_send_raw_request(ctx_, request.data(), length) != length + 2) {
                *error = "modbus_send_raw_request: " + LibraryError();
                return -1;
            }
            std::uint8_t answer[MODBUS_RTU_MAX_ADU_LENGTH];
            const int got = modbus_receive_confirmation(ctx_, answer);
            if (got < 0) {
                *error = "modbus_receive_confirmation: " + LibraryError();
                return -1;
            }
            if (got < 2 || (answer[1] & 0x80) != 0) {
                *error = "an exception answer (" + std::to_string(got > 2 ? answer[2] : 0) + ")";
                return -1;
            }
            *answerBytes = got;
            return 0;
        }
        default:
            // Code 9 among them: the library frames its answer as one byte of data and would
            // stop three bytes short of the instrument's 8-byte answer.
            *error = "function code " + std::to_string(code) + ", which libmodbus cannot frame";
            return -1;
    }
}

int LibmodbusClient::Replay(const std::vector<Frame>& requests, Tally* tally, std::string* error) {
    if (ctx_ == nullptr) {
        *error = "not open";
        return -1;
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        int answerBytes = 0;
        if (Send(requests[i], &answerBytes, error) != 0) {
            *error = "request " + std::to_string(i + 1) + " of " + std::to_string(requests.size()) +
                     ": " + *error;
            return -1;
        }
        tally->AddRequest(settings_, static_cast<int>(requests[i].size()));
        tally->AddBytes(settings_, answerBytes);
    }
    return 0;
}

}  // namespace bench
