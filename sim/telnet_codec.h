#pragma once
// The server's end of a Telnet connection that carries a serial port with the COM-PORT-OPTION
// (option 44): the options it agrees to, the port settings the client sets, 0xFF doubled in
// data both ways. Pure: bytes in, data and replies out.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/serial/line_settings.h"
#include "sim/frame.h"
#include "sim/served_line.h"

namespace sim {

namespace telnet {
inline constexpr std::uint8_t kIac = 0xFF;
inline constexpr std::uint8_t kDont = 0xFE;
inline constexpr std::uint8_t kDo = 0xFD;
inline constexpr std::uint8_t kWont = 0xFC;
inline constexpr std::uint8_t kWill = 0xFB;
inline constexpr std::uint8_t kSb = 0xFA;
inline constexpr std::uint8_t kSe = 0xF0;
inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kComPort = 44;
// COM-PORT-OPTION commands from the client; the server answers with the same plus 100.
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopSize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kPurgeData = 12;
inline constexpr std::uint8_t kServerOffset = 100;
}  // namespace telnet

class TelnetCodec {
  public:
    // The port at these settings, every option off.
    explicit TelnetCodec(const serial::LineSettings& initial);

    // Bytes from the client, in any pieces: data for the line (at the settings then in force)
    // and purge requests go to *in in order; answers to the client are appended to *reply.
    void Receive(const std::uint8_t* bytes, std::size_t n, std::vector<LineInput>* in,
                 Bytes* reply);
    const serial::LineSettings& Settings() const { return settings_; }

    // Appends data for the client with every 0xFF doubled.
    static void Escape(const Bytes& data, Bytes* out);

  private:
    enum class State { kData, kCommand, kOption, kSub, kSubCommand };

    void Command(std::uint8_t byte);
    void Negotiate(std::uint8_t verb, std::uint8_t option, Bytes* reply);
    void SubNegotiation(std::vector<LineInput>* in, Bytes* reply);
    // The value now in force of a COM-PORT-OPTION setting, after applying `value` (0: a query).
    Bytes Apply(std::uint8_t command, const Bytes& value, int* purge);
    LineInput& Piece(std::vector<LineInput>* in);

    serial::LineSettings settings_;
    State state_ = State::kData;
    std::uint8_t verb_ = 0;
    Bytes sub_;
    bool subOverflow_ = false;
    bool usBinary_ = false, themBinary_ = false, usComPort_ = false, themComPort_ = false;
    // SET-CONTROL states as last set: flow control, break, DTR, RTS, inbound flow control.
    std::uint8_t flow_ = 1, break_ = 6, dtr_ = 8, rts_ = 11, inbound_ = 14;
};

}  // namespace sim
