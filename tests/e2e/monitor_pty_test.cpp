// Tarnel watching instrument-sim on a pseudo-terminal in real time: monitoring and recording
// switched on from the menu, the sensor opened and closed by the simulator's signal, and the
// records on disk.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "models/model_a.h"
#include "tests/support/fixtures.h"

namespace {

namespace fs = std::filesystem;

class MonitorOnAPty : public ptytest::ConfiguratorOnAPty {
  protected:
    MonitorOnAPty() : ConfiguratorOnAPty(conf::ModelA()) {}
    // A tick of the poll timer, one interval after the last: the poll runs over the real line,
    // the records are stamped by the headless runtime's clock.
    void Tick() {
        fe.VirtualClock().Advance(1.0);
        rt.TimerTick(ctx.gvMain, Id(ctx.gvMain, "MSPV_T"));
    }
    std::string Pv() { return Main("MSPV_V").text; }
    // The lines of every record file, title lines left out.
    std::vector<std::string> Records() {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(root_ / "PV Record")) {
            std::istringstream in(Slurp(entry.path().string()));
            for (std::string line; std::getline(in, line);)
                if (line != "TIME\tPV\t") out.push_back(line);
        }
        return out;
    }
};

TEST_F(MonitorOnAPty, RecordsFollowTheSensorAsTheInstrumentSendsIt) {
    RunSimulator("A");
    std::ofstream("COM_Dev_use.txt") << "5\n3\n0\n8\n2\n6802";
    Start();
    ASSERT_EQ(Status(), "Read OK") << SimLog();

    Menu("PV_RECORD");
    Menu("PV_READ");
    ASSERT_EQ(Main("MSPV_B").state, 1);
    Tick();
    EXPECT_EQ(Status(), "Read OK") << SimLog();
    const std::string live = Pv();
    EXPECT_NE(live, "OPEN");

    child.Signal(SIGUSR1);  // the sensor opens
    ASSERT_TRUE(SimLogShows("sensor")) << SimLog();
    Tick();
    EXPECT_EQ(Pv(), "OPEN");
    child.Signal(SIGUSR1);  // and closes again
    Tick();
    // The simulator may take a moment to see the signal: poll until the value is back.
    for (int i = 0; i < 20 && Pv() == "OPEN"; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Tick();
    }
    EXPECT_NE(Pv(), "OPEN");
    Menu("PV_READ");
    EXPECT_EQ(Main("MSPV_B").state, 0);

    const std::vector<std::string> records = Records();
    ASSERT_GE(records.size(), 3u);
    EXPECT_EQ(records[0].substr(8), "\t" + live + "\t");
    EXPECT_EQ(records[1].substr(8), "\tOPEN\t");
    EXPECT_EQ(records.back().substr(8), "\t" + Pv() + "\t");
    for (const std::string& r : records)
        EXPECT_EQ(r[2], ':') << r;
    EXPECT_EQ(child.Stop(), 0);
}

}  // namespace
