// Scan's port discovery and sweep: the device list through the "Dev_Mng_" files into the COM
// list and "COM__Exist.txt"; "COM__Exist.txt" as the sweep reads it; the friendly names the
// device list is made of, from the USB strings of sysfs and the USB id database. COM5 and
// COM33 are in-process lines to instruments that stay silent. Input, byte 0 (mod 3):
//   0  the device list, one name a line (the rest of the input), then Auto Scan
//   1  "COM__Exist.txt" (the rest of the input), then the sweep over it
//   2  a USB serial adapter on ttyUSB0 (COM33) with manufacturer, product, idVendor and
//      idProduct files, a second one on ttyUSB1 (COM34) with idVendor and idProduct only: six
//      fields, each a length byte (0: no file, else 1 + the length) and its bytes; the rest is
//      the USB id database. Then start-up, whose discovery lists them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/serial/enumerate.h"
#include "scan/com_discovery.h"
#include "scan/scan_dev.h"
#include "scan/shell.h"

namespace {

namespace fs = std::filesystem;

// Sweep ticks at most: enough for both lines at every setting and a line or two more.
constexpr int kMaxTicks = 40;

void Sweep(fuzz::Scan& s) {
    const int timer = s.rt.FindCtrl(s.ctx.gvtpScan, "TTARNEL");
    for (int tick = 0; tick < kMaxTicks; ++tick) {
        int enabled = 0;
        s.rt.GetCtrlAttribute(s.ctx.gvtpScan, timer, ui::ATTR_ENABLED, &enabled);
        if (!enabled) break;
        scan::evTTarnel(s.ctx, s.ctx.gvtpScan, timer, ui::EVENT_TIMER_TICK, nullptr, 0, 0);
    }
}

void DeviceList(fuzz::Input& in) {
    fuzz::Scan s;
    const std::string text = in.Rest();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        s.deviceList.names.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (scan::G1__init(s.ctx) < 0) __builtin_trap();
    const int button = s.rt.FindCtrl(s.ctx.gvtpScan, "AUTO_SCAN");
    scan::evStartScan(s.ctx, s.ctx.gvtpScan, button, ui::EVENT_COMMIT, nullptr, 0, 0);
    Sweep(s);
}

void ScanTargets(fuzz::Input& in) {
    fuzz::Scan s;
    if (scan::G1__init(s.ctx) < 0) __builtin_trap();
    fuzz::WriteFile(scan::kComExist, in.Rest());
    scan::ScanDev__to_start(s.ctx);
    Sweep(s);
}

// A file of the fake sysfs from one field of the input: absent, or the field's bytes.
void Attribute(fuzz::Input& in, const std::string& path) {
    const int length = in.Byte();
    std::error_code ignored;
    fs::remove(path, ignored);
    if (length == 0) return;
    const fuzz::Bytes bytes = in.Take(static_cast<std::size_t>(length - 1));
    fuzz::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The kernel's shape: class/tty/<name> links to devices/<hardware>/tty/<name>, whose device
// link points two levels up at the hardware; bus/usb/devices links to the USB devices.
const std::string& Sysfs() {
    static const std::string root = [] {
        const std::string sys = fuzz::EnterTree() + "/sys";
        const std::string hub = sys + "/devices/pci0000:00/usb1";
        for (const char* port : {"1-1", "1-2"}) {
            const std::string name = port[2] == '1' ? "ttyUSB0" : "ttyUSB1";
            const std::string node = hub + "/" + port + "/" + port + ":1.0/tty/" + name;
            fs::create_directories(node);
            fuzz::WriteFile(node + "/dev", "188:0\n");
            fs::create_symlink("../..", node + "/device");
            fs::create_directories(sys + "/class/tty");
            fs::create_symlink(node, sys + "/class/tty/" + name);
            fs::create_directories(sys + "/bus/usb/devices");
            fs::create_symlink(hub + "/" + port, sys + "/bus/usb/devices/" + port);
        }
        return sys;
    }();
    return root;
}

void FriendlyNames(fuzz::Input& in) {
    const std::string& sys = Sysfs();
    const std::string hub = sys + "/devices/pci0000:00/usb1";
    for (const char* file : {"/1-1/manufacturer", "/1-1/product", "/1-1/idVendor", "/1-1/idProduct",
                             "/1-2/idVendor", "/1-2/idProduct"})
        Attribute(in, hub + file);
    const std::string ids = sys + "/usb.ids";
    fuzz::WriteFile(ids, in.Rest());
    serial::SysfsDeviceLister lister(serial::ComMapEnv{"", nullptr}, sys, ids);
    lister.FriendlyNames();
    fuzz::Scan s(&lister);
    if (scan::G1__init(s.ctx) < 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::EnterTree();
    fuzz::Input in(data, size);
    switch (in.Byte() % 3) {
        case 0:
            DeviceList(in);
            break;
        case 1:
            ScanTargets(in);
            break;
        default:
            FriendlyNames(in);
            break;
    }
    return 0;
}
