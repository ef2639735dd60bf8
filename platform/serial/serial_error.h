#pragma once
// Error codes of the serial layer. Every function that can fail returns an int: 0 or a count
// on success, one of these negative codes on failure.

namespace serial {

inline constexpr int kErrNotMapped = -1;   // a COM number with no device behind it
inline constexpr int kErrNoDevice = -2;    // the device file is missing (adapter not plugged in)
inline constexpr int kErrBusy = -3;        // another program (or port) has the device open
inline constexpr int kErrPermission = -4;  // no permission to open the device
inline constexpr int kErrSettings = -5;    // a speed, parity or character size the device refuses
inline constexpr int kErrNotOpen = -6;     // the logical port is not open
inline constexpr int kErrIo = -7;          // read or write failed (for example adapter pulled)
inline constexpr int kErrBadPort = -8;     // logical port number outside 1..1000
inline constexpr int kErrOpen = -9;        // any other failure to open (not a serial device...)
inline constexpr int kErrArgument = -10;   // negative byte count or missing buffer

// One line a technician can act on, for any code above; a generic text for anything else.
// The pointer is to a static string.
const char* SerialErrorText(int code);

}  // namespace serial
