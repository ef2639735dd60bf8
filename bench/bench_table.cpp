#include "bench/bench_table.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace bench {

namespace {

// A right-aligned figure, or "-" where there is none.
std::string Cell(bool present, int width, int decimals, double value) {
    char buf[64];
    if (present)
        std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
    else
        std::snprintf(buf, sizeof buf, "%*s", width, "-");
    return buf;
}

}  // namespace

double Measure::OverFloor() const {
    return tally.Floor() > 0.0 ? elapsed / tally.Floor() : 0.0;
}

double Row::OverReference() const {
    return reference.taken && reference.elapsed > 0.0 ? suite.elapsed / reference.elapsed : 0.0;
}

double Row::ExtraPerTransaction() const {
    return reference.taken && suite.tally.transactions > 0
               ? (suite.elapsed - reference.elapsed) / suite.tally.transactions
               : 0.0;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

Table::Table(std::string reference)
    : reference_(std::move(reference)),
      referenceWidth_(static_cast<int>(reference_.size()) + 3),
      ratioWidth_(static_cast<int>(reference_.size()) + 6) {}

std::string Table::Figures(const Measure& suite, const Measure& reference, double ratio,
                           double extra) const {
    const bool ref = reference.taken;
    return Cell(true, 8, 1, suite.elapsed * 1e3) + "  " + Cell(true, 6, 3, suite.OverFloor()) +
           "  " + Cell(true, 7, 0, suite.idle * 1e6) + "  " +
           Cell(ref, referenceWidth_, 1, reference.elapsed * 1e3) + "  " +
           Cell(ref, 6, 3, reference.OverFloor()) + "  " + Cell(ref, 7, 0, reference.idle * 1e6) +
           "  " + Cell(ref, ratioWidth_, 3, ratio) + "  " + Cell(ref, 12, 3, extra * 1e3);
}

void Table::PrintHeading() const {
    std::printf(
        "idle us: median time the line lay idle between an answer and the client's next "
        "request, by the instrument's clock; extra ms/txn: (suite - %s) / transactions\n",
        reference_.c_str());
    std::printf(
        "round  command    transport  txns  bytes  floor ms  suite ms  /floor  idle us  %s ms  "
        "/floor  idle us  suite/%s  extra ms/txn\n",
        reference_.c_str(), reference_.c_str());
}

void Table::Add(const Row& row) {
    rows_.push_back(row);
    std::printf(
        "%5d  %-9s  %-9s  %4d  %5ld  %8.1f  %s\n", row.round, row.command.c_str(),
        row.transport.c_str(), row.suite.tally.transactions, row.suite.tally.bytes,
        row.suite.tally.Floor() * 1e3,
        Figures(row.suite, row.reference, row.OverReference(), row.ExtraPerTransaction()).c_str());
    std::fflush(stdout);  // a row at a time, also into a pipe
}

void Table::PrintSummary() const {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const Row& r : rows_)
        if (std::find(keys.begin(), keys.end(), std::pair(r.command, r.transport)) == keys.end())
            keys.emplace_back(r.command, r.transport);
    std::printf("medians over the rounds; best: the lowest suite/%s of a round\n",
                reference_.c_str());
    for (const auto& [command, transport] : keys) {
        // Each figure's own median; the floors of one command do not change between rounds.
        std::vector<double> floor, suite, suiteIdle, ref, refIdle, ratio, extra;
        for (const Row& r : rows_) {
            if (r.command != command || r.transport != transport) continue;
            floor.push_back(r.suite.tally.Floor());
            suite.push_back(r.suite.elapsed);
            suiteIdle.push_back(r.suite.idle);
            if (!r.reference.taken) continue;
            ref.push_back(r.reference.elapsed);
            refIdle.push_back(r.reference.idle);
            ratio.push_back(r.OverReference());
            extra.push_back(r.ExtraPerTransaction());
        }
        Measure s;
        s.taken = true;
        s.tally.wire = Median(floor);
        s.elapsed = Median(suite);
        s.idle = Median(suiteIdle);
        Measure m;
        m.taken = !ratio.empty();
        m.tally.wire = s.tally.wire;
        m.elapsed = Median(ref);
        m.idle = Median(refIdle);
        const double best = m.taken ? *std::min_element(ratio.begin(), ratio.end()) : 0.0;
        std::printf("%5s  %-9s  %-9s  %11s  %8.1f  %s  best %s\n", "", command.c_str(),
                    transport.c_str(), "", s.tally.Floor() * 1e3,
                    Figures(s, m, Median(ratio), Median(extra)).c_str(),
                    Cell(m.taken, 5, 3, best).c_str());
    }
}

void Table::PrintOverBase(const std::string& base, double target) const {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const Row& r : rows_)
        if (r.transport != base &&
            std::find(keys.begin(), keys.end(), std::pair(r.command, r.transport)) == keys.end())
            keys.emplace_back(r.command, r.transport);
    bool headed = false;
    for (const auto& [command, transport] : keys) {
        std::vector<double> elapsed, idle;
        for (const Row& r : rows_) {
            if (r.command != command || r.transport != transport) continue;
            for (const Row& b : rows_)
                if (b.round == r.round && b.command == command && b.transport == base &&
                    r.suite.tally.transactions > 0) {
                    elapsed.push_back((r.suite.elapsed - b.suite.elapsed) /
                                      r.suite.tally.transactions);
                    idle.push_back(r.suite.idle - b.suite.idle);
                }
        }
        if (elapsed.empty()) continue;
        if (!headed) {
            std::printf(
                "over %s per transaction, medians over the rounds (suite; target at most "
                "%.3f ms):\n",
                base.c_str(), target * 1e3);
            headed = true;
        }
        const double extra = Median(elapsed);
        std::printf("%5s  %-9s  %-9s  elapsed %+7.3f ms  idle %+7.3f ms  %s\n", "", command.c_str(),
                    transport.c_str(), extra * 1e3, Median(idle) * 1e3,
                    extra <= target ? "within target" : "over target");
    }
    std::fflush(stdout);
}

}  // namespace bench
