#pragma once
// RTU frames on the instrument's side: how long a request is, where one ends in a byte stream,
// sealing answers with their CRC.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kMaxFrame = 256;

// Bytes a request with this beginning has on the wire: 8 for codes 3, 4, 5 and 6, 9 plus the
// byte count for 16 and 9. 0 while too few bytes are in to tell; -1 for any other code.
int RequestLength(const std::uint8_t* bytes, std::size_t n);

// Appends the CRC, low byte first.
void Seal(Bytes* frame);
// True when the last two bytes are the CRC of the others (and there are at least 4 bytes).
bool CrcMatches(const Bytes& frame);

// "01 03 1F 00"
std::string Hex(const Bytes& bytes);

// Cuts a byte stream into requests: a frame ends when it has the length its function code
// implies, or at a silence on the line, with whatever has come by then.
class Framer {
  public:
    struct Frame {
        Bytes bytes;
        double firstAt = 0.0;  // when the first byte had arrived
        double lastAt = 0.0;   // when the last byte had arrived
    };

    void Push(std::uint8_t byte, double at);
    // The next frame complete by its length; also a run of kMaxFrame bytes that never made
    // one (noise).
    bool Next(Frame* out);
    // The line has been silent: everything buffered, as one frame.
    bool Flush(Frame* out);
    bool Empty() const { return bytes_.empty(); }
    double LastAt() const { return times_.empty() ? 0.0 : times_.back(); }

  private:
    Frame Take(std::size_t n);

    std::deque<std::uint8_t> bytes_;
    std::deque<double> times_;
};

}  // namespace sim
