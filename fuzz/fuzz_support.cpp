#include "fuzz/fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "link/crc.h"
#include "log/event_log.h"
#include "models/model.h"
#include "models/model_b.h"
#include "scan/shell.h"
#include "session/port_dev.h"
#include "shell/callbacks.h"
#include "shell/main_panel.h"
#include "sim/config.h"
#include "sim/instrument.h"
#include "sim/simulated_device.h"
#include "transfer/read_all.h"

namespace fuzz {

namespace fs = std::filesystem;

std::uint8_t Input::Byte() {
    return at_ < size_ ? data_[at_++] : 0;
}

unsigned Input::Word() {
    const unsigned high = Byte();
    return high << 8 | Byte();
}

Bytes Input::Take(std::size_t n) {
    n = std::min(n, Left());
    Bytes out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
}

std::string Input::Rest() {
    std::string out(reinterpret_cast<const char*>(data_) + at_, Left());
    at_ = size_;
    return out;
}

namespace {

// The tree of this process; removed at exit (a crash leaves it in the temporary folder,
// which scripts/fuzz points into its scratch space).
class Tree {
  public:
    Tree() {
        std::string pattern = (fs::temp_directory_path() / "suite-fuzz.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("fuzz: cannot make the scratch folder");
            std::abort();
        }
        root_ = fs::canonical(pattern).string();
        fs::create_directories(root_ + "/bin");
        fs::create_directories(root_ + "/gui");
        fs::create_directories(root_ + "/ParameterFile");
        for (const fs::directory_entry& e : fs::directory_iterator(SUITE_GUI_SOURCE_DIR))
            fs::copy_file(e.path(), root_ + "/gui/" + e.path().filename().string());
    }
    ~Tree() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(root_, ignored);
    }
    const std::string& root() const { return root_; }

  private:
    std::string root_;
};

double Turnaround(int index) {
    static const double kTimes[4] = {0.001, 0.005, 0.3, 0.6};
    return kTimes[index & 3];
}

}  // namespace

const std::string& EnterTree() {
    static Tree tree;
    if (::chdir((tree.root() + "/bin").c_str()) != 0) {
        std::perror("fuzz: cannot enter the scratch folder");
        std::abort();
    }
    return tree.root();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void ScriptAnswers(Input& in, serial::ScriptedDevice& device, int count) {
    for (int i = 0; i < count && in.Left() > 0; ++i) {
        const std::uint8_t kind = in.Byte();
        const double turnaround = Turnaround(kind >> 2);
        switch (kind & 3) {
            case 0:
                device.StaySilent();
                break;
            case 1:
                device.Answer(in.Take(in.Byte()), turnaround);
                break;
            case 2: {
                Bytes frame = in.Take(in.Byte());
                frame.resize(frame.size() + 2);
                conf::fn_Get_CRC(frame.data(), static_cast<int>(frame.size()));
                device.Answer(frame, turnaround);
                break;
            }
            default:
                device.Vanish();
                break;
        }
    }
}

serial::ComMapEnv VirtualComs(const std::vector<int>& present) {
    return serial::ComMapEnv{"/virtual", [present](const std::string& path) {
                                 for (int n : present)
                                     if (path == "/virtual/COM" + std::to_string(n)) return true;
                                 return false;
                             }};
}

Configurator::Configurator(const conf::Model& model) : ctx(rt, launcher, model) {
    backend.Attach("/virtual/COM5", &device);
    ctx.com = &com;
}

int LoadLinkPanel(Configurator& c) {
    static const char* kLinkPanel = R"({ "panels": [ { "name": "LINK",
  "menubar": { "menus": [ { "name": "FILE", "items": [ { "name": "PORT", "checked": true } ] } ] },
  "controls": [
    { "kind": "textmsg", "name": "MSG" },
    { "kind": "numeric", "name": "ID_COMM", "value": 1 },
    { "kind": "ring", "name": "BR_COMM", "items": ["2400", "4800", "9600", "19200"], "index": 3 },
    { "kind": "ring", "name": "RTU_COMM", "items": ["8N1", "8N2", "8O1", "8E1"], "index": 1 },
    { "kind": "toggle", "name": "RS485" } ] } ] })";
    static const std::string file = [] {
        const std::string path = EnterTree() + "/gui/link.json";
        WriteFile(path, kLinkPanel);
        return path;
    }();
    c.ctx.gvMain = c.rt.LoadPanel(0, file, "LINK");
    if (c.ctx.gvMain < 0) return c.ctx.gvMain;
    c.ctx.msgCtrl = c.rt.FindCtrl(c.ctx.gvMain, "MSG");
    if (c.com.OpenComConfig(scan::kPort222, "COM5", 19200, 0, 8, 2) < 0) return -1;
    return c.com.SetComTime(scan::kPort222, 0.5);
}

void EchoDevice::Receive(const serial::LineSettings& master, const std::vector<std::uint8_t>& bytes,
                         double now) {
    if (answers_ <= 0 || bytes.size() < 8 ||
        conf::fn_Verify_CRC(bytes.data(), static_cast<int>(bytes.size())) != 0)
        return;
    Bytes answer;
    if (bytes[1] == 5 || bytes[1] == 6) {
        answer.assign(bytes.begin(), bytes.begin() + 8);
    } else if (bytes[1] == 16 || bytes[1] == 9) {
        answer.assign(bytes.begin(), bytes.begin() + 6);
        answer.resize(8);
        conf::fn_Get_CRC(answer.data(), 8);
    } else {
        return;
    }
    --answers_;
    const double charTime = serial::WireTime(master, 1);
    double at = now + serial::WireTime(master, static_cast<int>(bytes.size())) + 0.002;
    for (std::uint8_t b : answer)
        pending_.emplace_back(at += charTime, b);
}

bool EchoDevice::NextByte(double upTo, std::uint8_t* byte, double* at) {
    if (next_ >= pending_.size() || pending_[next_].first > upTo) return false;
    *at = pending_[next_].first;
    *byte = pending_[next_].second;
    ++next_;
    return true;
}

namespace {

struct Started {
    explicit Started(const conf::Model& model)
        : c(model),
          instrument(
              sim::DefaultConfig(model.id.programNumber == 105 ? sim::Model::kB : sim::Model::kA),
              c.fe.VirtualClock().Now()),
          line(instrument) {
        EnterTree();
        c.backend.Attach("/virtual/COM5", &line);
        WriteFile(conf::kComDevUseFile, "5\n3\n0\n8\n2\n0000");
        WriteFile(conf::kLogSwitchFileName, "1 0");
        if (conf::RegisterCallbacks(c.ctx, c.registry) < 0 || conf::MainPanel::init(c.ctx) < 0) {
            std::fprintf(stderr, "fuzz: the configurator does not start: %s\n",
                         c.rt.LastError().c_str());
            std::abort();
        }
    }
    Configurator c;
    sim::Instrument instrument;
    sim::SimulatedDevice line;
};

}  // namespace

Configurator& StartedConfigurator(const conf::Model& model) {
    static std::unique_ptr<Started> a, b;
    std::unique_ptr<Started>& started = &model == &conf::ModelB() ? b : a;
    if (!started) started = std::make_unique<Started>(model);
    Configurator& c = started->c;
    EnterTree();
    conf::Log::Clear(c.ctx);
    c.fe.ClearPopups();
    c.fe.VirtualClock().ClearDelays();
    c.launcher.calls.clear();
    if (conf::Para_Fr_Dev::onClick(c.ctx) < 0) {
        std::fprintf(stderr, "fuzz: the simulated instrument does not answer\n");
        std::abort();
    }
    started->instrument.TakeLog();  // what it answered is of no interest here
    return c;
}

Scan::Scan(serial::DeviceLister* lister)
    : ctx(rt, launcher, com, lister ? *lister : static_cast<serial::DeviceLister&>(devices)) {
    backend.Attach("/virtual/COM5", &com5);
    backend.Attach("/virtual/COM33", &com33);
    scan::RegisterCallbacks(ctx, registry);
}

}  // namespace fuzz
