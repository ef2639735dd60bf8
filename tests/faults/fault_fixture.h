#pragma once
// The fault matrix: every procedure that talks to the instrument, struck by each fault the
// simulated instrument can show on the line. Shared here: the faults, how one is armed, the
// trace a struck request leaves, the time a stage may take, and the row each case adds to the
// matrix table (when FAULT_MATRIX_TABLE names a file); and a configurator of either model against
// the simulated instrument, with one fault armed for a stage, run with one request struck and
// run again on the clean line.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "sim/fault.h"
#include "tests/support/fixtures.h"
#include "tests/support/frames.h"
#include "tests/support/registry_models.h"

namespace faulttest {

using namespace conf_test;

struct FaultCase {
    const char* name;
    sim::FaultKind kind;
};

// Every fault but the vanished port comes first (the soak draws from those).
inline constexpr FaultCase kFaults[] = {
    {"Silence", sim::FaultKind::kSilence}, {"Cut", sim::FaultKind::kCut},
    {"Late", sim::FaultKind::kLate},       {"BadCrc", sim::FaultKind::kBadCrc},
    {"Noise", sim::FaultKind::kNoise},     {"Exception", sim::FaultKind::kException},
    {"Vanish", sim::FaultKind::kVanish},
};

// How long a fault lasts: the first attempt of one request only (the retries get through), or
// all three attempts of it (the request fails, the line is clean again afterwards). A vanished
// port stays away until the test plugs it back.
enum class Strike { kOnce, kEvery };

constexpr int kAttempts = 3;
constexpr double kTimeout = 0.5;
// The exception a struck request is answered with (the simulated instrument's default, as are
// the 3 bytes of a cut answer or of noise, and a late answer's 1 s: after the master has given
// up on it).
constexpr int kExceptionCode = 4;

inline sim::Fault MakeFault(sim::FaultKind kind, Strike strike, int after) {
    return conf_test::MakeFault(
        kind, after, kind == sim::FaultKind::kVanish || strike == Strike::kOnce ? 1 : kAttempts);
}

// One case of a matrix suite: model, fault, strike. Named "Tarnel_Silence_Every",
// "Ombrel_Vanish".
struct Cell {
    const conf::Model* model;
    FaultCase fault;
    Strike strike;
};

// Every fault with each strike, on each of the models (the registry's when none are given).
inline std::vector<Cell> Cells(
    const std::vector<const conf::Model*>& models = conf_test::RegistryModels()) {
    std::vector<Cell> out;
    for (const conf::Model* m : models)
        for (const FaultCase& f : kFaults) {
            out.push_back({m, f, Strike::kEvery});
            if (f.kind != sim::FaultKind::kVanish) out.push_back({m, f, Strike::kOnce});
        }
    return out;
}

inline bool Vanish(const Cell& c) {
    return c.fault.kind == sim::FaultKind::kVanish;
}
// The struck request fails (every attempt struck, or the port gone).
inline bool Fails(const Cell& c) {
    return Vanish(c) || c.strike == Strike::kEvery;
}

inline std::string NameOf(const Cell& c) {
    const char* strike = Vanish(c) ? "" : c.strike == Strike::kEvery ? "_Every" : "_Once";
    return std::string(c.model->id.programName) + "_" + c.fault.name + strike;
}

inline void PrintTo(const Cell& c, std::ostream* os) {
    *os << NameOf(c);
}

inline std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
    return NameOf(info.param);
}

// --- The trace a request leaves -----------------------------------------------------------

inline std::string Fmt(const char* format, unsigned a) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, a);
    return buf;
}

inline unsigned Word(const Bytes& b, std::size_t at) {
    return static_cast<unsigned>(b[at] << 8 | b[at + 1]);
}

// The request line of the event log's trace, as the technician reads it.
inline std::string TxLine(const Bytes& req) {
    std::string s = "\tP222\tMB.Tx\t" + Fmt("#%02x.", req[0]) + Fmt("%02x ", req[1]);
    const bool oneWrite = req[1] == 5 || req[1] == 6;
    s += Fmt("<%04x> ", Word(req, 2)) + Fmt(oneWrite ? "[%04x] " : "(%04x) ", Word(req, 4));
    if (req[1] < 3 || req[1] > 6)  // 16: one 32-bit value
        s += Fmt("(%02x)  ", req[6]) + Fmt("[%04x]", Word(req, 7)) + Fmt("[%04x]  ", Word(req, 9));
    s += Fmt("{%04x}", Word(req, req.size() - 2));
    static const char* const kNames[] = {"Read", "Read-only", "Write RAM", "Write EEPROM"};
    return s + "\t" + (req[0] == 0 ? "---Broadcast--- " : "") +
           (req[1] >= 3 && req[1] <= 6 ? kNames[req[1] - 3] : "Write n Words") + "\n";
}

inline const std::string kStars = "\xA1\xB9\xA1\xB9\xA1\xB9";

// The lines of a partial answer of these bytes.
inline std::string PartialLines(const Bytes& got) {
    std::string s = "\tP222\tMB.Rx\t";
    for (std::uint8_t b : got)
        s += Fmt("%02x ", b);
    s += "\n\t" + kStars +
         " Modbus201 : Exception 0930 occured after COM read, n=" + std::to_string(got.size()) +
         "\n";
    s += "\tPossibility :: If BAUD changed\n";
    s += "\tPossibility :: If using [Ro] to read [R] memory\n";
    s += "\tPossibility :: If using [Wram] or [Wee] to write [Ro] memory\n";
    s += "\tReturn value of ComRd() is num of byte it received.\n\n";
    return s;
}

inline const std::string kTimeoutLines = "\tP222\tMB.Rx\t" + kStars + " COM read Time-out\n\n";
// The read on a port whose device has gone (the platform's I/O error, -7).
inline const std::string kPortGoneLines =
    "\tP222\tMB.Rx\t" + kStars + " COM read NG, err code: -7\n\tcheck Help of LW.CVI\n";

// The head of the instrument's answer to a request: station, code, then the byte count of a
// read or the address's high byte of a write.
inline Bytes AnswerHead(const Bytes& req) {
    const bool read = req[1] == 3 || req[1] == 4;
    return {req[0], req[1], static_cast<std::uint8_t>(read ? 2 * Word(req, 4) : req[2])};
}

inline Bytes ExceptionAnswer(const Bytes& req) {
    return Sealed({req[0], static_cast<std::uint8_t>(req[1] | 0x80), kExceptionCode});
}

// What one struck attempt of `req` adds to the trace after its request line: a bad CRC, or noise
// in front, leave a whole answer that fails its check and nothing more.
inline std::string StruckAttemptLines(sim::FaultKind kind, const Bytes& req) {
    using K = sim::FaultKind;
    return kind == K::kSilence || kind == K::kLate ? kTimeoutLines
           : kind == K::kCut                       ? PartialLines(AnswerHead(req))
           : kind == K::kException                 ? PartialLines(ExceptionAnswer(req))
           : kind == K::kVanish                    ? kPortGoneLines
                                                   : "";
}

// The whole trace of a request struck on every attempt: three requests, each with its error.
// Once the port has gone, the later attempts fail at the queue flush and leave their request
// line alone.
inline std::string FailedRequestTrace(sim::FaultKind kind, const Bytes& req) {
    std::string s;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        s += TxLine(req);
        if (kind != sim::FaultKind::kVanish || attempt == 0) s += StruckAttemptLines(kind, req);
    }
    return s;
}

// A request struck on its first attempt only: the error, then the request again and its answer.
inline std::string RetriedRequestTrace(sim::FaultKind kind, const Bytes& req) {
    return TxLine(req) + StruckAttemptLines(kind, req) + TxLine(req) + "\tP222\tMB.Rx\t" +
           Fmt("#%02x.", req[0]) + Fmt("%02x ", req[1]);
}

// A short text of the error lines for the table.
inline std::string ErrorLabel(sim::FaultKind kind, Strike strike) {
    using K = sim::FaultKind;
    if (kind == K::kVanish)
        return "`COM read NG, err code: -7`, then 2 requests with nothing after them";
    const std::string each = kind == K::kSilence || kind == K::kLate ? "`COM read Time-out`"
                             : kind == K::kCut       ? "`01 .. .. ` `Exception 0930 ... n=3`"
                             : kind == K::kException ? "`01 8x 04 .. .. ` `Exception 0930 ... n=5`"
                                                     : "request line only (CRC mismatch)";
    return each +
           (strike == Strike::kOnce ? " once, then the answer" : " after each of 3 requests");
}

inline int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// A run on the clean line: every request answered and read as the answer it is.
inline void ExpectClean(const std::string& trace) {
    EXPECT_EQ(Count(trace, kStars), 0) << trace;
    EXPECT_GT(Count(trace, "\tMB.Tx\t"), 0) << trace;
    EXPECT_EQ(Count(trace, "\tMB.Tx\t"), Count(trace, "\tMB.Rx\t#")) << trace;
}

// --- Time on the line -----------------------------------------------------------------------

// Upper bound of one attempt that ends in its time-out: the request on the wire (13 bytes at
// 9600 baud at worst), a settling wait, the time-out.
constexpr double kFailedAttempt = 0.015 + 0.05 + kTimeout;
// Upper bound of an attempt that is answered (the longest answer, 41 bytes at 19200 baud,
// plus the request and the instrument's turnaround).
constexpr double kAnsweredAttempt = 0.06;

// The most a stage may take: its answered attempts and its struck ones.
inline double StageBound(int attempts, int struck) {
    return (attempts - struck) * kAnsweredAttempt + struck * kFailedAttempt + 0.01;
}

// --- The table ------------------------------------------------------------------------------

inline std::string Colour(int rgb) {
    for (const auto& [value, name] : {std::pair<int, const char*>{0xFF0000, "red"},
                                      {0x008000, "green"},
                                      {0x0000FF, "blue"},
                                      {0x000000, "black"}})
        if (rgb == value) return name;
    return Fmt("0x%06x", static_cast<unsigned>(rgb));
}

inline std::string StrikeName(const Cell& c) {
    if (Vanish(c)) return c.fault.name;
    return c.fault.name + std::string(c.strike == Strike::kEvery ? " (every attempt)" : " (once)");
}

// Adds the row (what the case has just asserted) to the table file, when one is named: stage,
// model, fault, status (text and colour), the trace the struck request left, what is on disk
// afterwards, what the log holds after the struck request.
inline void Record(const std::vector<std::string>& cells) {
    const char* path = std::getenv("FAULT_MATRIX_TABLE");
    if (!path || !*path) return;
    std::ofstream out(path, std::ios::app);
    for (std::size_t i = 0; i < cells.size(); ++i)
        out << cells[i] << (i + 1 < cells.size() ? '\t' : '\n');
}

// --- The configurator of the cell's model, with one fault armed for a stage ---------------

class ConfiguratorFaults : public monitortest::MonitorTest,
                           public ::testing::WithParamInterface<Cell> {
  protected:
    ConfiguratorFaults() : MonitorTest(*GetParam().model) {}

    // Where the models' procedures differ, the cases of model B say what they expect.
    bool IsB() const { return GetParam().model == &conf::ModelB(); }
    sim::FaultKind Kind() const { return GetParam().fault.kind; }
    bool Vanish() const { return faulttest::Vanish(GetParam()); }
    bool Fails() const { return faulttest::Fails(GetParam()); }

    // The instrument of the cell's model, with the status bits of newer firmware; the log of
    // the start-up's requests discarded.
    void StartInstrument() {
        StartWith(conf_test::HardwareCode(ctx.model), IsB() ? 3 : 8);
        inst->TakeLog();
    }
    // The fault strikes the stage's request number `after` (counting from 0).
    void Arm(int after) { inst->AddFault(MakeFault(Kind(), GetParam().strike, after)); }
    // The line as it was: no fault, the port back, and a pause in which whatever answer was
    // still under way has arrived.
    void ClearLine() {
        inst->ClearFaults();
        inst->Replug();
        fe.VirtualClock().Advance(2.0);
    }

    int Press(const char* button) { return rt.UserPress(ctx.gvMain, Id(ctx.gvMain, button)); }

    // The first request the fault struck.
    Bytes Struck() {
        for (const sim::LogEntry& e : inst->Log())
            if (e.fault == Kind()) return e.request;
        ADD_FAILURE() << "the fault struck no request";
        return {0, 3, 0, 0, 0, 0, 0, 0};
    }

    // The length of `path` with the logs flushed, and what the file has gained since such a mark.
    std::size_t Size(const std::string& path) { return Since(path, 0).size(); }
    std::string Since(const std::string& path, std::size_t mark) {
        ctx.gpLog.Flush();
        ctx.gpCAL.Flush();
        const std::string text = Slurp(path);
        return mark <= text.size() ? text.substr(mark) : text;
    }
    // Virtual seconds the action takes.
    double Timed(const std::function<void()>& action) {
        const double start = fe.VirtualClock().Now();
        action();
        return fe.VirtualClock().Now() - start;
    }

    // Strikes request `after` of what `action` sends; returns the trace it left in `file`. The
    // trace holds the struck request's attempts with their error lines; the stage took no longer
    // than its attempts allow (counting those it also logged in `also`): the answered ones and
    // the time-outs of the struck ones. The status is `failed` in red with nothing logged after
    // the failed request (it ends the stage), or `ok` in green (null: not checked here).
    std::string StruckTrace(int after, const char* failed, const char* ok, const char* file,
                            const std::function<void()>& action, const char* also = nullptr) {
        Arm(after);
        const std::size_t mark = Size(file), alsoMark = also ? Size(also) : 0;
        const double took = Timed(action);
        const std::string trace = Since(file, mark);
        const Bytes req = Struck();
        const std::string failure = FailedRequestTrace(Kind(), req);
        const std::string want = Fails() ? failure : RetriedRequestTrace(Kind(), req);
        EXPECT_NE(trace.find(want), std::string::npos) << "want:\n"
                                                       << want << "\ntrace:\n"
                                                       << trace;
        const int attempts = Count(also ? trace + Since(also, alsoMark) : trace, "\tMB.Tx\t");
        const int struck = Fails() ? (Vanish() ? 1 : kAttempts) : 1;
        EXPECT_LE(took, StageBound(attempts, struck)) << attempts << " attempts";
        if (Fails() && failed) {
            ExpectStatus(failed, 0xFF0000);
            EXPECT_TRUE(trace.ends_with(failure)) << "want at the end:\n" << failure << trace;
        } else if (!Fails() && ok) {
            ExpectStatus(ok, 0x008000);
        }
        return trace;
    }
    // `action` on the clean line: its status green, every request of it answered.
    void ExpectCleanRun(const char* file, const char* status, const std::function<void()>& action) {
        const std::size_t mark = Size(file);
        action();
        ExpectStatus(status, 0x008000);
        ExpectClean(Since(file, mark));
    }

    void ExpectStatus(const char* text, int colour) {
        EXPECT_EQ(Status(), text);
        EXPECT_EQ(StatusColour(), colour) << Colour(StatusColour());
    }
    std::string StatusCell() { return "\"" + Status() + "\" " + Colour(StatusColour()); }

    // `after`: what the log holds after the failed request ("" for nothing: it ends the log).
    void AddRow(const std::string& stage, const std::string& status, const std::string& files,
                const std::string& after = "") {
        Record({stage, GetParam().model->id.programName, StrikeName(GetParam()), status,
                ErrorLabel(Kind(), GetParam().strike), files,
                !Fails()        ? "the request again and its answer; the stage goes on"
                : after.empty() ? "nothing: the failed request ends the log"
                                : after});
    }

    static int Lines(const std::string& text) { return Count(text, "\n"); }
};

}  // namespace faulttest
