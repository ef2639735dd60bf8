#include "link/transaction.h"

#include <algorithm>
#include <cstdio>

#include "link/crc.h"
#include "platform/serial/rs232.h"

namespace conf {

namespace {

// Big5 "★★★": the mark of an error line.
constexpr const char* kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";

void Write(sys::LogStream* stream, const std::string& text) {
    if (stream) stream->Write(text);
}

std::string Printf(const char* format, int value) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

// Expected answer length for the request, 0 for a code the options refuse.
int ExpectedLength(const std::uint8_t* request, bool multiWord) {
    switch (request[1]) {
        case 3:
        case 4:
            return 2 * (request[4] * 256 + request[5]) + 5;
        case 5:
        case 6:
            return 8;
        case 9:
        case 16:
            return multiWord ? 8 : 0;
        default:
            return 0;
    }
}

// Longer than 3.5 characters at the slowest rate (2400 baud): the line is quiet between frames.
constexpr double kQuietGap = 0.02;

// The rest of an answer that failed its check (noise in front of it, a byte count too long)
// or came short may still be on its way. It is read into the void until the line has been
// quiet for a gap, for no longer than the read time-out, so that the next attempt reads its
// own answer and not this one's tail.
void DrainLine(serial::Rs232& com, int port) {
    double timeout = 0.0;
    if (com.GetComTime(port, &timeout) < 0) return;
    if (com.SetComTime(port, kQuietGap) < 0) return;
    std::uint8_t sink[64];
    for (double waited = 0.0; waited < timeout; waited += kQuietGap)
        if (com.ComRd(port, sink, static_cast<int>(sizeof sink)) <= 0) break;
    com.SetComTime(port, timeout);
}

std::string Head(int port) {
    return Printf("\tP%d", port) + "\tMB.Rx\t";
}

std::string Hex(const std::uint8_t* bytes, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += Printf("%02x ", bytes[i]);
    return text;
}

int ReadFailed(sys::LogStream* errors, int port, int code) {
    Write(errors, Head(port) + kStars + Printf(" COM read NG, err code: %d\n", code));
    Write(errors, "\tcheck Help of LW.CVI\n");
    return -2000 - code;
}

// A half-duplex adapter hands the request back as it goes out: exactly its bytes must come
// back before the answer is read. What did come is traced as a short answer would be, with a
// line that says it was the echo.
int ReadEcho(serial::Rs232& com, int port, const std::uint8_t* request, int length,
             sys::LogStream* errors) {
    std::vector<std::uint8_t> heard(static_cast<size_t>(length), 0);
    const int got = com.ComRd(port, heard.data(), length);
    if (got == length && std::equal(heard.begin(), heard.end(), request)) return 0;
    if (got < 0) return ReadFailed(errors, port, got);
    if (got == 0)
        Write(errors, Head(port) + kStars + " COM read Time-out\n");
    else
        Write(errors, Head(port) + Hex(heard.data(), got) + "\n");
    std::string line = "\t" + std::string(kStars) + Printf(" Echo NG : %d of ", got) +
                       Printf("%d bytes sent came back", length);
    if (got == length) line += ", not as sent";
    Write(errors, line + "\n\n");
    // The answer behind a broken echo is no use to the next attempt.
    if (got > 0) DrainLine(com, port);
    return kEchoFailed - got;
}

}  // namespace

int RunTransaction(const LinkSession& session, LinkObserver& observer,
                   const TransactionOptions& options, TraceStreams streams, std::uint8_t* request,
                   int length, std::vector<std::uint8_t>* answer) {
    const int port = session.port;
    fn_Get_CRC(request, length);
    const auto traceRequest = [&] {
        if (streams.trace)
            observer.TraceRequest(*streams.trace, port, request, length, options.style);
    };
    const int expected = ExpectedLength(request, options.multiWord);
    if (expected == 0) {
        traceRequest();
        observer.Popup(options.refusedTitle, options.refusedText);
        return -1;
    }
    if (!session.com || session.com->FlushOutQ(port) < 0) {
        traceRequest();
        return -555;
    }
    serial::Rs232& com = *session.com;
    if (com.FlushInQ(port) < 0) {
        traceRequest();
        return -666;
    }
    const int written = com.ComWrt(port, request, length);
    // The request line is written while the request is on the wire and the instrument
    // answers, not before it: the log costs the line no time. It still comes first in the log.
    traceRequest();
    if (written != length) {
        Write(streams.errors,
              "\t" + std::string(kStars) + Printf(" COM write NG, err code: %d\n\n", written));
        Write(streams.errors, "\tcheck Help of LW.CVI\n");
        return -1000 - written;
    }
    if (session.echo) {
        const int echo = ReadEcho(com, port, request, length, streams.errors);
        if (echo != 0) return echo;
    }
    if (options.waitBeforeRead > 0) observer.Delay(options.waitBeforeRead);
    answer->assign(static_cast<size_t>(expected), 0);
    const int got = com.ComRd(port, answer->data(), expected);
    if (got == expected) {
        if (fn_Verify_CRC(answer->data(), expected) != 0) {
            DrainLine(com, port);
            return -1;
        }
        if (streams.trace)
            observer.TraceAnswer(*streams.trace, port, answer->data(), expected, options.style);
        return 0;
    }
    // Made only for the error lines: the answer's way back to the next request stays short.
    const std::string head = Head(port);
    if (got == 0) {
        Write(streams.errors, head + kStars + " COM read Time-out\n\n");
        return -2000;
    }
    if (got < 0) return ReadFailed(streams.errors, port, got);
    Write(streams.errors, head + Hex(answer->data(), got) + "\n");
    Write(streams.errors,
          "\t" + std::string(kStars) +
              Printf(" Modbus201 : Exception 0930 occured after COM read, n=%d\n", got));
    Write(streams.errors, "\tPossibility :: If BAUD changed\n");
    Write(streams.errors, "\tPossibility :: If using [Ro] to read [R] memory\n");
    Write(streams.errors, "\tPossibility :: If using [Wram] or [Wee] to write [Ro] memory\n");
    Write(streams.errors, "\tReturn value of ComRd() is num of byte it received.\n");
    Write(streams.errors, "\n");
    DrainLine(com, port);
    return -2000 - got;
}

}  // namespace conf
