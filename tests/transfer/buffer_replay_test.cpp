// A write-all buffer file as it is read back for its replay, against a scripted instrument:
// the request of each line byte for byte with the plan's access code, and the files that do
// not read back (damaged, cut short) ending in "Write NG" after the lines before them.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "models/model.h"
#include "models/model_b.h"
#include "tests/support/fixtures.h"
#include "transfer/write_all.h"

namespace {

using linktest::Bytes;
using linktest::Write;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The link panel of the link tests on an in-process COM5 at 19200 8N2, for either model.
class BufferReplay : public ::testing::Test, protected conf_test::Configurator {
  protected:
    explicit BufferReplay(const conf::Model& model = conf::ModelA()) : Configurator(model) {
        conf_test::WriteFile("link.json", linktest::kLinkPanel);
        ctx.gvMain = rt.LoadPanel(0, "link.json", "G104");
        EXPECT_GT(ctx.gvMain, 0) << rt.LastError();
        ctx.msgCtrl = rt.FindCtrl(ctx.gvMain, "MSG");
        backend.Attach("/virtual/COM5", &device);
        ctx.com = &com;
        EXPECT_EQ(com.OpenComConfig(222, "COM5", 19200, 0, 8, 2), 0);
        EXPECT_EQ(com.SetComTime(222, 0.5), 0);
    }
    // Replays `text` as buffer file `index` of the model.
    int Replay(const std::string& text, std::size_t index = 0) {
        const conf::BufferFile& buffer = ctx.model.write.buffers[index];
        conf_test::WriteFile(buffer.fileName, text);
        std::unique_ptr<std::FILE, FileCloser> f(std::fopen(buffer.fileName, "r"));
        EXPECT_TRUE(f);
        return conf::Para_To_Dev::Replay_Buffer(ctx, buffer, f.get());
    }
    // Scripts these answers, one per request.
    void Echo(const std::vector<Bytes>& answers) {
        for (const Bytes& a : answers)
            device.Answer(a, 0.005);
    }
    std::vector<Bytes> Sent() {
        std::vector<Bytes> out;
        for (const auto& r : device.requests)
            out.push_back(r.bytes);
        return out;
    }
    std::string Status() {
        std::string s;
        rt.GetCtrlVal(ctx.gvMain, ctx.msgCtrl, &s);
        return s;
    }

    conf_test::ScratchDir dir;
};

class BufferReplayB : public BufferReplay {
  protected:
    BufferReplayB() : BufferReplay(conf::ModelB()) {}
};

TEST_F(BufferReplay, EachLineGoesOutWithThePlansAccessCode) {
    // LOCK and TYPE in RAM, mA.H (the plan's last line) to EEPROM; an address the plan does
    // not list goes to RAM.
    const std::vector<Bytes> expected{Write(5, 0x1E, 0), Write(5, 0x00, 1), Write(6, 0x1C, 2000),
                                      Write(5, 0x40, -2)};
    EXPECT_EQ(Replay(""), 0);  // an empty file sends nothing
    EXPECT_TRUE(device.requests.empty());
    Echo(expected);
    EXPECT_EQ(Replay("001e\t       0\tLOCK\n0000\t       1\tTYPE\n001c\t    2000\tmA.H\n"
                     "0040\t      -2\tODD\n"),
              0);
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(ctx.giCNT, 4);
}

TEST_F(BufferReplay, ADamagedLineEndsInWriteNgAfterTheLinesBeforeIt) {
    // A line cut short must not borrow the next line's address as its value.
    for (const std::string damaged :
         {"0001\t   abc\tUNIT\n", "zz\t1\tX\n", "\x01\x02\n", "0001\n", "0001\t       0\n"}) {
        device.requests.clear();
        Echo({Write(5, 0x00, 1)});
        EXPECT_EQ(Replay("0000\t       1\tTYPE\n" + damaged + "0002\t       0\tDP\n"), -1)
            << damaged;
        EXPECT_EQ(Sent(), (std::vector<Bytes>{Write(5, 0x00, 1)})) << damaged;
        EXPECT_EQ(Status(), "Write NG") << damaged;
    }
}

TEST_F(BufferReplay, AWriteTheInstrumentDoesNotAnswerStopsTheList) {
    Echo({Write(5, 0x00, 1)});  // then silence: three attempts at the next line
    EXPECT_EQ(Replay("0000\t       1\tTYPE\n0001\t       0\tUNIT\n0002\t       0\tDP\n"), -2000);
    EXPECT_EQ(Sent(),
              (std::vector<Bytes>{Write(5, 0, 1), Write(5, 1, 0), Write(5, 1, 0), Write(5, 1, 0)}));
    EXPECT_EQ(Status(), "Write NG");
}

TEST_F(BufferReplayB, ThirtyTwoBitLinesGoOutAsTwoRegisters) {
    const Bytes lolt = Sealed({0x01, 0x10, 0x10, 0x01, 0x00, 0x02, 0x04, 0xFF, 0xFF, 0xFF, 0xF6});
    const Bytes hilt = Sealed({0x01, 0x10, 0x10, 0x02, 0x00, 0x02, 0x04, 0x00, 0x01, 0x86, 0xA0});
    device.Answer(Sealed({0x01, 0x10, 0x10, 0x01, 0x00, 0x02}), 0.005);
    device.Answer(Sealed({0x01, 0x10, 0x10, 0x02, 0x00, 0x02}), 0.005);
    EXPECT_EQ(Replay("1001\t     -10\tLOLT\n1002\t  100000\tHILT\n", 1), 0);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{lolt, hilt}));
}

}  // namespace
