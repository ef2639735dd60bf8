#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <filesystem>

#include "link/crc.h"
#include "log/event_log.h"
#include "models/model_b.h"
#include "session/port_dev.h"
#include "shell/callbacks.h"
#include "transfer/param_file.h"
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

double Turnaround(int index) {
    static const double kTimes[4] = {0.001, 0.005, 0.3, 0.6};
    return kTimes[index & 3];
}

}  // namespace

const std::string& EnterTree() {
    // A crash leaves the tree in the temporary folder, which scripts/fuzz points into its
    // scratch space.
    static const conf_test::RunTree tree({"*"});
    static const std::string root = tree.root_.string();
    std::error_code ec;
    fs::create_directories(tree.root_ / conf::kParamFileDir, ec);
    fs::current_path(tree.root_ / "bin", ec);
    if (ec) {
        std::fprintf(stderr, "fuzz: cannot enter the scratch folder: %s\n", ec.message().c_str());
        std::abort();
    }
    return root;
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
            case 2:
                device.Answer(conf_test::Sealed(in.Take(in.Byte())), turnaround);
                break;
            default:
                device.Vanish();
                break;
        }
    }
}

int LoadLinkPanel(Configurator& c) {
    const int r = c.LoadLinkPanel();
    return r < 0 ? r : c.OpenCom5();
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

Configurator& StartedConfigurator(const conf::Model& model) {
    static std::unique_ptr<Configurator> a, b;
    std::unique_ptr<Configurator>& started = &model == &conf::ModelB() ? b : a;
    EnterTree();
    if (!started) {
        started = std::make_unique<Configurator>(model);
        if (conf::RegisterCallbacks(started->ctx, started->registry) < 0 ||
            started->StartOnSim(started->SimConfig()) < 0) {
            std::fprintf(stderr, "fuzz: the configurator does not start: %s\n",
                         started->rt.LastError().c_str());
            std::abort();
        }
    }
    Configurator& c = *started;
    conf::Log::Clear(c.ctx);
    c.fe.ClearPopups();
    c.fe.VirtualClock().ClearDelays();
    c.launcher.calls.clear();
    if (conf::Para_Fr_Dev::onClick(c.ctx) < 0) {
        std::fprintf(stderr, "fuzz: the simulated instrument does not answer\n");
        std::abort();
    }
    c.inst->TakeLog();  // what it answered is of no interest here
    return c;
}

Scan::Scan(serial::DeviceLister* lister) : ScanRig(lister) {
    Plug(5, &com5);
    Plug(33, &com33);
}

}  // namespace fuzz
