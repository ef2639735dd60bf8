#pragma once
// The steps of one Modbus transaction that every client of the suite shares: seal the request
// with its CRC, trace it, flush the queues, write it, read the answer of the length the request
// implies, check the CRC, trace the answer. Where the programs differ (a settling wait before the
// read, the trace layout, the popup for a refused code) the caller says so in the options.
//
// Results: 0 success; -1 a function code the options refuse (popup, nothing sent) or a bad CRC;
// -555 / -666 the output / input queue could not be flushed; -1000 - n the write took n bytes
// instead of the whole frame; -2000 silence; -2000 - n a read error n (negative) or a partial
// answer of n bytes (a Modbus exception answer arrives this way); with the session's echo on,
// -2500 - n when only n bytes of the request came back within the time-out (-2500: none) or,
// n being the request's length, they came back other than sent. An echo's read error is the
// answer's -2000 - n.

#include <cstdint>
#include <string>
#include <vector>

#include "link/link_observer.h"
#include "link/session.h"
#include "platform/sys/log_stream.h"

namespace conf {

// kEchoFailed - n: the echo failed with n of the request's bytes back (see above).
inline constexpr int kEchoFailed = -2500;

struct TransactionOptions {
    bool multiWord = false;     // codes 16 and 9 are taken (answer: 8 bytes)
    double waitBeforeRead = 0;  // seconds between the write and the read
    TraceStyle style = TraceStyle::Paired;
    std::string refusedTitle;  // popup for a function code outside the table
    std::string refusedText;
};

// Where a call's lines go; null for none.
struct TraceStreams {
    sys::LogStream* trace;   // the request and answer lines
    sys::LogStream* errors;  // the lines of a failed write or read
};

// `request` has every byte but the CRC filled; `length` counts the CRC. On 0 *answer holds
// the complete answer.
int RunTransaction(const LinkSession& session, LinkObserver& observer,
                   const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                   int length, std::vector<std::uint8_t>* answer);

}  // namespace conf
