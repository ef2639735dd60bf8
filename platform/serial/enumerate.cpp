#include "platform/serial/enumerate.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "platform/serial/net_address.h"

namespace serial {

DeviceLister::~DeviceLister() = default;

namespace fs = std::filesystem;

namespace {

// First line of a small sysfs attribute file, without trailing white space; empty if absent.
std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

// A USB device directory's name: "<manufacturer> <product>" from its strings, else from the
// id database by idVendor and idProduct; empty when neither gives one.
std::string UsbDeviceName(const fs::path& dir, const std::string& usbIds) {
    std::string manufacturer = ReadAttribute(dir / "manufacturer");
    std::string product = ReadAttribute(dir / "product");
    if (!manufacturer.empty() && !product.empty()) return manufacturer + " " + product;
    if (!manufacturer.empty()) return manufacturer;
    if (!product.empty()) return product;
    const std::string vendorId = ReadAttribute(dir / "idVendor");
    if (vendorId.empty()) return {};
    return UsbIdName(usbIds, vendorId, ReadAttribute(dir / "idProduct"));
}

// The USB device directory above a tty's device: the first one up the tree that carries
// name strings or a vendor id. Stops at the sysfs root.
std::string UsbName(const fs::path& deviceLink, const fs::path& root, const std::string& usbIds) {
    std::error_code ec;
    fs::path dir = fs::canonical(deviceLink, ec);
    if (ec) return {};
    const std::string rootText = root.string();
    for (int level = 0; level < 8 && dir.string().size() > rootText.size(); ++level) {
        if (dir.string().compare(0, rootText.size(), rootText) != 0) break;
        if (fs::exists(dir / "manufacturer", ec) || fs::exists(dir / "product", ec) ||
            fs::exists(dir / "idVendor", ec))
            return UsbDeviceName(dir, usbIds);
        dir = dir.parent_path();
    }
    return {};
}

// A folder link named by its target: the device path, or the URL of a network port (no
// file behind it, and never probed here: a list must not wait for a server). Empty for a
// dangling link to a device that is not there.
std::string LinkLabel(const std::string& link) {
    std::string url = NetworkUrlOfDevice(link);
    if (!url.empty()) return url;
    std::error_code ec;
    if (!fs::exists(link, ec)) return {};
    fs::path target = fs::read_symlink(link, ec);
    return ec ? link : target.string();
}

std::string WithCom(const std::string& label, int com) {
    return label + " (COM" + std::to_string(com) + ")";
}

}  // namespace

SysfsDeviceLister::SysfsDeviceLister(ComMapEnv env, std::string sysfsRoot, std::string usbIdsPath)
    : env_(std::move(env)), root_(std::move(sysfsRoot)), usbIds_(std::move(usbIdsPath)) {}

std::vector<SysfsDeviceLister::Tty> SysfsDeviceLister::SystemPorts() {
    std::vector<Tty> ports;
    static const std::regex kTtyName("tty(S|USB|ACM)[0-9]+");
    std::error_code ec;
    fs::path root = fs::canonical(root_, ec);
    if (ec) return ports;
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "class/tty", ec)) {
        const std::string name = entry.path().filename().string();
        std::smatch match;
        if (!std::regex_match(name, match, kTtyName)) continue;
        const fs::path deviceLink = entry.path() / "device";
        std::error_code linkEc;
        if (!fs::exists(deviceLink, linkEc)) continue;  // no hardware behind the name
        const bool builtIn = match[1] == "S";
        if (builtIn && ReadAttribute(entry.path() / "type") == "0") continue;
        std::string label = builtIn ? "Communications Port" : UsbName(deviceLink, root, usbIds_);
        if (label.empty()) label = "USB Serial Port";
        ports.push_back(Tty{"/dev/" + name, label});
    }
    std::sort(ports.begin(), ports.end(),
              [](const Tty& a, const Tty& b) { return a.path < b.path; });
    return ports;
}

std::vector<SerialDeviceInfo> SysfsDeviceLister::Devices() {
    std::map<int, SerialDeviceInfo> byCom;
    for (const Tty& tty : SystemPorts()) {
        int com = ComNumberOfDevice(tty.path, env_);
        if (com == 0) continue;
        byCom[com] = SerialDeviceInfo{tty.path, WithCom(tty.label, com)};
    }

    if (!env_.comportsDir.empty()) {
        for (int n = 1; n <= kMaxComNumber; ++n) {
            if (byCom.count(n) != 0) continue;
            const std::string link = ComDevicePath(n, env_);
            if (link.empty() || link.rfind(env_.comportsDir, 0) != 0) continue;  // default rule
            std::string label = LinkLabel(link);
            if (!label.empty()) byCom[n] = SerialDeviceInfo{link, WithCom(label, n)};
        }
    }

    std::vector<SerialDeviceInfo> out;
    for (auto& [com, info] : byCom)
        out.push_back(std::move(info));
    return out;
}

std::vector<std::string> SysfsDeviceLister::FriendlyNames() {
    std::vector<std::string> names;
    for (const SerialDeviceInfo& info : Devices())
        names.push_back(info.friendlyName);
    return names;
}

std::vector<std::string> SysfsDeviceLister::PresentDeviceNames() {
    // The folder's links first, by number, each named by its target.
    std::map<int, std::string> links;
    if (!env_.comportsDir.empty()) {
        for (int n = 1; n <= kMaxComNumber; ++n) {
            const std::string link = ComDevicePath(n, env_);
            if (link.empty() || link.rfind(env_.comportsDir, 0) != 0) continue;  // default rule
            std::string label = LinkLabel(link);
            if (!label.empty()) links[n] = label;
        }
    }
    std::map<int, std::string> ports;
    std::vector<std::string> others;
    for (const Tty& tty : SystemPorts()) {
        const int com = ComNumberOfDevice(tty.path, env_);
        if (com == 0)
            others.push_back(tty.label);
        else if (links.count(com) != 0)
            links[com] = tty.label;  // a link to this port: one entry, under the port's name
        else
            ports[com] = tty.label;
    }

    std::error_code ec;
    fs::path root = fs::canonical(root_, ec);
    if (!ec) {
        std::vector<fs::path> usb;
        for (const fs::directory_entry& entry :
             fs::directory_iterator(root / "bus/usb/devices", ec))
            usb.push_back(entry.path());
        std::sort(usb.begin(), usb.end());
        for (const fs::path& dev : usb) {
            std::error_code attrEc;
            if (!fs::exists(dev / "idVendor", attrEc)) continue;  // an interface, not a device
            std::string name = UsbDeviceName(dev, usbIds_);
            if (name.empty())
                name = "USB Device " + ReadAttribute(dev / "idVendor") + ":" +
                       ReadAttribute(dev / "idProduct");
            others.push_back(name);
        }
    }

    std::vector<std::string> out;
    for (const auto& [com, label] : links)
        out.push_back(WithCom(label, com));
    for (const auto& [com, label] : ports)
        out.push_back(WithCom(label, com));
    out.insert(out.end(), others.begin(), others.end());
    return out;
}

}  // namespace serial
