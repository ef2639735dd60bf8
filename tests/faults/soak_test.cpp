// Ten hours of watching on the virtual clock, recording on, with faults struck at random (a
// fixed seed) and the port pulled and plugged back now and then. Every tick whose value came
// in leaves exactly one record line, in time order, in the file of its hour, stamped with the
// second its poll began (a poll whose answers needed their retries ends in a later one, and the
// timer's overdue tick then falls in the second just recorded); no tick records twice or not at
// all; the program answers commands at the end.

#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

#include "fault_fixture.h"
#include "monitor/pv_record.h"
#include "platform/sys/clock.h"

namespace faulttest {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kSeed = 20130528;
constexpr int kSeconds = 10 * 3600;

// One tick as the instrument saw it.
struct TickSeen {
    double start = 0.0;
    bool valueCame = false;  // the process value was answered on one of the attempts
};

class Soak : public ConfiguratorFaults {};

TEST_P(Soak, TenHoursOfWatchingWithFaultsAndAPulledPort) {
    RecordProperty("seed", static_cast<int>(kSeed));

    // Each tick through the program's own timer callback, watched on its way.
    std::vector<TickSeen> ticks;
    const std::string timer = "ev" + std::to_string(ctx.model.id.programNumber) + "_MSPV_T";
    const ui::ControlCallback poll = *registry.FindControl(timer);
    const int pv = ctx.model.poll.addrPV;
    auto watched = [&](int panel, int control, int event, void* data, int d1, int d2) {
        if (event != ui::EVENT_TIMER_TICK) return poll(panel, control, event, data, d1, d2);
        TickSeen seen;
        seen.start = fe.VirtualClock().Now();
        inst->TakeLog();
        const int r = poll(panel, control, event, data, d1, d2);
        for (const sim::LogEntry& e : inst->TakeLog())
            if (e.request[1] == 3 && (e.request[2] << 8 | e.request[3]) == pv &&
                e.outcome == sim::Outcome::kAnswered)
                seen.valueCame = true;
        ticks.push_back(seen);
        return r;
    };
    registry.AddControl(timer, watched);

    std::ofstream("log_PV.txt").close();
    StartInstrument();
    PressReadPv();
    ASSERT_TRUE(TimerOn());
    Menu("PV_RECORD");
    ASSERT_EQ(MenuMark("PV_RECORD"), 1);

    std::mt19937 rng(kSeed);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    // Where the port is pulled, and for how long.
    std::map<int, int> pulls;
    for (int i = 0; i < 6; ++i)
        pulls[std::uniform_int_distribution<int>(60, kSeconds - 900)(rng)] =
            std::uniform_int_distribution<int>(5, 600)(rng);
    int pulledUntil = -1, pullsDone = 0, faultsArmed = 0, reopened = 0;

    for (int second = 0; second < kSeconds; ++second) {
        if (pulls.count(second) && pulledUntil < 0) {
            inst->AddFault({.kind = sim::FaultKind::kVanish});
            pulledUntil = second + pulls[second];
        } else if (second == pulledUntil) {
            inst->ClearFaults();
            inst->Replug();
            pulledUntil = -1;
            ++pullsDone;
            // Every other time the technician also opens the port again from the menu.
            if (pullsDone % 2 == 0) {
                Menu("PORT");
                Menu("PORT");
                EXPECT_EQ(Status(), "Open COM port OK") << second;
                ++reopened;
            }
        } else if (pulledUntil < 0 && chance(rng) < 0.02) {
            // Drawn in this order (a braced list is evaluated left to right); late means after
            // the master has given up on the answer.
            inst->AddFault({.kind = kFaults[std::uniform_int_distribution<int>(0, 5)(rng)].kind,
                            .bytes = std::uniform_int_distribution<int>(1, 6)(rng),
                            .delay = std::uniform_real_distribution<double>(0.6, 2.0)(rng),
                            .after = std::uniform_int_distribution<int>(0, 3)(rng),
                            .count = std::uniform_int_distribution<int>(1, 3)(rng)});
            ++faultsArmed;
        }
        fe.AdvanceTime(1.0);
        // Watching runs on whatever the line does.
        ASSERT_TRUE(TimerOn()) << second;
    }
    inst->ClearFaults();
    inst->Replug();
    std::cout << "soak (seed " << kSeed << "): " << ticks.size() << " ticks, " << faultsArmed
              << " faults, " << pullsDone << " pulls (" << reopened << " reopened from the menu)"
              << std::endl;
    ASSERT_GE(pullsDone, 3);

    // What each tick with a value should have left: one line in the file of its hour.
    std::map<std::string, std::vector<std::string>> expected;
    int withValue = 0;
    for (const TickSeen& t : ticks) {
        if (!t.valueCame) continue;
        ++withValue;
        const sys::DateTime at = sys::AddSeconds(sys::DateTime{2013, 5, 28, 9, 0, 0},
                                                 static_cast<long long>(std::floor(t.start)));
        expected[conf::fn_PV_Record_Name(ctx, at)].push_back(conf::Make_TIME_string(at));
    }
    EXPECT_GT(withValue, kSeconds * 9 / 10);
    EXPECT_LT(withValue, static_cast<int>(ticks.size()));

    // The files: one per clock hour, each its title and then its records in time order, no
    // duplicate, none missing.
    EXPECT_EQ(expected.size(), 11u);
    EXPECT_EQ(std::distance(fs::directory_iterator("../PV Record"), fs::directory_iterator()),
              static_cast<long>(expected.size()));
    for (const auto& [name, times] : expected) {
        std::istringstream in(Slurp("../PV Record/" + name));
        std::string line;
        ASSERT_TRUE(std::getline(in, line)) << name;
        EXPECT_EQ(line, "TIME\tPV\t") << name;
        std::vector<std::string> got;
        while (std::getline(in, line)) {
            // A time, a tab, the displayed text, a tab.
            ASSERT_GE(line.size(), 10u) << name << ": " << line;
            EXPECT_EQ(line[8], '\t') << name << ": " << line;
            EXPECT_EQ(line.back(), '\t') << name << ": " << line;
            got.push_back(line.substr(0, 8));
        }
        EXPECT_EQ(std::adjacent_find(got.begin(), got.end(), std::greater_equal<>()), got.end())
            << name;
        EXPECT_EQ(got, times) << name;
    }

    // The program answers: watching stops from the menu, a read goes through.
    Menu("PV_READ");
    EXPECT_FALSE(TimerOn());
    EXPECT_EQ(Main("MSPV_B").state, 0);
    PressRead();
    ExpectStatus("Read OK", 0x008000);
}

std::vector<Cell> SoakCells() {
    std::vector<Cell> cells;
    for (const conf::Model* model : conf_test::RegistryModels())
        cells.push_back({model, {"Random", sim::FaultKind::kNone}, Strike::kOnce});
    return cells;
}

INSTANTIATE_TEST_SUITE_P(Monitoring, Soak, ::testing::ValuesIn(SoakCells()),
                         [](const ::testing::TestParamInfo<Cell>& p) {
                             return std::string(p.param.model->id.programName);
                         });

}  // namespace
}  // namespace faulttest
