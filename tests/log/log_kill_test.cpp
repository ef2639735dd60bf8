// The event log and the calibration trace hold every line written up to a kill: a child
// process writes through the real writers and the link's traffic trace, then dies by SIGKILL,
// and its files must equal those of a run that closed them in order.

#include <signal.h>
#include <sys/wait.h>

#include <array>

#include "log/event_log.h"
#include "log/log_errors.h"
#include "log/modbus_trace.h"
#include "session/modbus_api.h"
#include "tests/support/fixtures.h"

namespace {

using conf_test::ReadFile;

using LogKill = linktest::LinkTest;

TEST_F(LogKill, EveryLineWrittenBeforeAKillIsInTheFiles) {
    conf_test::WriteFile("YN_log_dbg.txt", "1 1");
    OpenPort();
    // Every kind of log line, the traffic last: a stream that held lines back in a buffer
    // loses the trace first.
    const auto writeEverything = [this] {
        using namespace conf;
        Log::init(ctx);
        logi(ctx, "station %d\n", 1);
        logs(ctx, "model %s\n", "A");
        logf(ctx, "PV = %.1f\n", 21.5);
        dbgi(ctx, "retries %d\n", 3);
        Log::Modbus_R(ctx, 0x1000, 0x0005, 5, "SP1");
        Log::err_Open_COM(ctx, ctx.Source("__UART"), 3, -3);
        Log::err_Open_File(ctx, ctx.Source("__File"), 7, "W_para_buff.txt");

        std::array<std::int16_t, 2> v{};
        device.Answer(Sealed({0x01, 0x03, 0x04, 0x00, 0x05, 0x00, 0x06}), 0.005);
        fn_Modbus_Device_RW_16(ctx, 3, 0x1000, 2, v);
        device.Answer(Sealed({0x01, 0x06, 0x00, 0x1f, 0x00, 0x01}), 0.005);
        fn_Modbus_Device_RW_16(ctx, 6, 0x001f, 1);
        for (int i = 0; i < 3; ++i)
            device.StaySilent();
        fn_Modbus_Device_RW_16(ctx, 3, 0x1F00, 4);

        ctx.gpCAL.Open("log_ADC.txt", "w");
        device.Answer(Sealed({0x01, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02}), 0.005);
        fn_Modbus_Device_RW_16_CAL(ctx, 4, 0x1003, 2, v);
        device.Answer(Sealed({0x01, 0x05, 0x00, 0x0d, 0x00, 0x01}), 0.005);
        fn_Modbus_Device_RW_16_CAL(ctx, 5, 0x000d, 1);
    };
    // The run in a child process that then kills itself.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        writeEverything();
        raise(SIGKILL);
        _exit(1);  // not reached: a child that outlives its kill fails the test
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    const std::string killedLog = ReadFile("log.txt");
    const std::string killedCal = ReadFile("log_ADC.txt");

    // The same run here, ended in order, gives what the files must hold.
    std::filesystem::remove("log.txt");
    std::filesystem::remove("log_ADC.txt");
    writeEverything();
    ctx.gpLog.Close();
    ctx.gpCAL.Close();
    const std::string log = ReadFile("log.txt");
    const std::string cal = ReadFile("log_ADC.txt");

    // The reference run wrote its writers' and error lines, then the traffic: a read, a write
    // and three attempts that timed out; the calibration trace holds its two exchanges.
    const std::string stars = conf::kLogErrorMark;
    const std::string timedOut =
        "\tP222\tMB.Tx\t#01.03 <1f00> (0004) {43dd}\tRead\n"
        "\tP222\tMB.Rx\t" +
        stars + " COM read Time-out\n\n";
    const std::string traffic =
        "\tP222\tMB.Tx\t#01.03 <1000> (0002) {c0cb}\tRead\n"
        "\tP222\tMB.Rx\t#01.03 (04)   [0005][0006]  {6a30}\tRead\n\n"
        "\tP222\tMB.Tx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n"
        "\tP222\tMB.Rx\t#01.06 <001f> [0001] {79cc}\tWrite EEPROM\n\n" +
        timedOut + timedOut + timedOut;
    EXPECT_EQ(log, std::string(49, '=') +
                       "\n\ngvLogYN = 1 \n"
                       "station 1\nmodel A\nPV = 21.5\nretries 3\n"
                       "<1000>\t[0005]\t      5   \tSP1\n" +
                       stars + " m104__UART :: 3 \n" + stars +
                       " Open COM NG :: err code : -3 \n\n" + stars + " m104__File :: 7 \n" +
                       stars + " open file NG :: W_para_buff.txt \n\n" + traffic);
    EXPECT_EQ(cal,
              "\tP222\tMB.Tx\t#01.04 <1003> (0002) {850b}\tRead-only\n"
              "\tP222\tMB.Rx\t#01.04 (04)   [0001][0002]  {2b85}\tRead-only\n\n"
              "\tP222\tMB.Tx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n"
              "\tP222\tMB.Rx\t#01.05 <000d> [0001] {9dc9}\tWrite RAM\n\n");

    EXPECT_EQ(killedLog, log);
    EXPECT_EQ(killedCal, cal);
}

// A write that cannot reach the file says so at once instead of failing later, unseen.
TEST(LogStream, AWriteThatCannotReachTheFileFails) {
    sys::LogStream full;
    ASSERT_TRUE(full.Open("/dev/full", "a"));
    EXPECT_EQ(full.Write("line\n"), -1);
    EXPECT_EQ(full.Printf("PV = %d\n", 5), -1);
    sys::LogStream closed;
    EXPECT_EQ(closed.Write("line\n"), -1);
    EXPECT_EQ(closed.Printf("%s", "x"), -1);
}

}  // namespace
