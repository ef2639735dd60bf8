#pragma once
// The Telnet layer of an RFC 2217 connection (RFC 854, 856, 2217): escaping of data, the
// commands a client sends, and a decoder that splits what a server sends into line data,
// option negotiation and subnegotiations, across reads cut anywhere.

#include <cstdint>
#include <vector>

namespace serial::telnet {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;

inline constexpr std::uint8_t kOptionBinary = 0;
inline constexpr std::uint8_t kOptionComPort = 44;

// COM-PORT-OPTION commands a client sends; the server answers with the code plus 100.
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;    // 1 none, 2 odd, 3 even, 4 mark, 5 space
inline constexpr std::uint8_t kSetStopSize = 4;  // 1 one, 2 two, 3 one and a half
inline constexpr std::uint8_t kPurgeData = 12;   // 1 receive buffer, 2 transmit buffer
inline constexpr std::uint8_t kServerOffset = 100;
inline constexpr std::uint8_t kPurgeReceive = 1;
inline constexpr std::uint8_t kPurgeTransmit = 2;

// Appends data to *out with every 0xFF doubled.
void AppendEscaped(const std::uint8_t* data, int n, Bytes* out);

// IAC <verb> <option>.
Bytes OptionCommand(std::uint8_t verb, std::uint8_t option);

// IAC SB COM-PORT-OPTION <code> <value, escaped> IAC SE.
Bytes ComPortCommand(std::uint8_t code, const Bytes& value);

// Something other than line data that the server sent.
struct Event {
    enum Kind { kOption, kSubnegotiation, kCommand } kind = kCommand;
    std::uint8_t verb = 0;    // kOption: kDo, kDont, kWill or kWont; kCommand: the command
    std::uint8_t option = 0;  // kOption: the option
    Bytes payload;            // kSubnegotiation: the bytes between IAC SB and IAC SE, unescaped
    bool operator==(const Event&) const = default;
};

// Keeps its state between calls, so a command cut between two reads is decoded whole.
class Decoder {
  public:
    // Decodes n received bytes: line data is appended to *data, everything else to *events.
    void Feed(const std::uint8_t* bytes, int n, Bytes* data, std::vector<Event>* events);

  private:
    enum State { kData, kAfterIac, kAfterVerb, kInSub, kInSubAfterIac } state_ = kData;
    std::uint8_t verb_ = 0;
    Bytes sub_;
};

}  // namespace serial::telnet
