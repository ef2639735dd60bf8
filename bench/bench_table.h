#pragma once
// The benchmark's table: one row per round, command and transport, the suite's time beside the
// line's floor and beside a reference client's time for the same requests, with the time each
// left the line idle between an answer and its next request, then the medians.
// Transports are rows, so another (a TCP link, say) adds rows, not columns.

#include <string>
#include <vector>

#include "bench/line_tally.h"

namespace bench {

// One client's run of one command.
struct Measure {
    bool taken = false;  // false: no figure (no reference client for this transport)
    Tally tally;
    double elapsed = 0.0;  // seconds
    // Median time the line lay idle between an answer and the client's next request: the
    // client's own time per transaction, free of the line's pacing (seconds).
    double idle = 0.0;
    // Elapsed over the floor; 0 when there is no floor.
    double OverFloor() const;
};

struct Row {
    int round = 0;
    std::string command;    // "read-all"
    std::string transport;  // "tty", "tcp", "rfc2217"
    Measure suite;
    Measure reference;
    // Suite time over reference time; 0 without a reference.
    double OverReference() const;
    // What the suite took beyond the reference per transaction, in seconds.
    double ExtraPerTransaction() const;
};

class Table {
  public:
    // `reference` names the reference client in the headings ("libmodbus").
    explicit Table(std::string reference);
    void PrintHeading() const;
    // Prints the row and keeps it for the summary.
    void Add(const Row& row);
    // Medians over the rounds per command and transport, in the order they first came.
    void PrintSummary() const;
    // Per command and transport other than `base`, what the transport added to a transaction
    // over `base` in the same round (elapsed and the idle time between transactions), the
    // median over the rounds, beside `target` (seconds). Prints nothing with no such pair.
    void PrintOverBase(const std::string& base, double target) const;

  private:
    // The figure columns, shared by the rows and the summary.
    std::string Figures(const Measure& suite, const Measure& reference, double ratio,
                        double extra) const;

    std::string reference_;
    int referenceWidth_;  // of the reference's columns, as wide as their headings
    int ratioWidth_;
    std::vector<Row> rows_;
};

double Median(std::vector<double> values);

}  // namespace bench
