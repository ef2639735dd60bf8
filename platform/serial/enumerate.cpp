#include "platform/serial/enumerate.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

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

// The USB device directory above a tty's device: the first one up the tree that carries
// manufacturer or product. Stops at the sysfs root.
std::string UsbName(const fs::path& deviceLink, const fs::path& root) {
    std::error_code ec;
    fs::path dir = fs::canonical(deviceLink, ec);
    if (ec) return {};
    const std::string rootText = root.string();
    for (int level = 0; level < 8 && dir.string().size() > rootText.size(); ++level) {
        if (dir.string().compare(0, rootText.size(), rootText) != 0) break;
        std::string manufacturer = ReadAttribute(dir / "manufacturer");
        std::string product = ReadAttribute(dir / "product");
        if (!manufacturer.empty() || !product.empty()) {
            if (manufacturer.empty()) return product;
            if (product.empty()) return manufacturer;
            return manufacturer + " " + product;
        }
        dir = dir.parent_path();
    }
    return {};
}

}  // namespace

SysfsDeviceLister::SysfsDeviceLister(ComMapEnv env, std::string sysfsRoot)
    : env_(std::move(env)), root_(std::move(sysfsRoot)) {}

std::vector<SerialDeviceInfo> SysfsDeviceLister::Devices() {
    std::map<int, SerialDeviceInfo> byCom;
    static const std::regex kTtyName("tty(S|USB|ACM)[0-9]+");

    std::error_code ec;
    fs::path root = fs::canonical(root_, ec);
    if (!ec) {
        for (const fs::directory_entry& entry : fs::directory_iterator(root / "class/tty", ec)) {
            const std::string name = entry.path().filename().string();
            std::smatch match;
            if (!std::regex_match(name, match, kTtyName)) continue;
            const fs::path deviceLink = entry.path() / "device";
            std::error_code linkEc;
            if (!fs::exists(deviceLink, linkEc)) continue;  // no hardware behind the name
            const bool builtIn = match[1] == "S";
            if (builtIn && ReadAttribute(entry.path() / "type") == "0") continue;

            const std::string path = "/dev/" + name;
            int com = ComNumberOfDevice(path, env_);
            if (com == 0) continue;
            std::string label = builtIn ? "Communications Port" : UsbName(deviceLink, root);
            if (label.empty()) label = "USB Serial Port";
            byCom[com] = SerialDeviceInfo{path, label + " (COM" + std::to_string(com) + ")"};
        }
    }

    if (!env_.comportsDir.empty()) {
        for (int n = 1; n <= kMaxComNumber; ++n) {
            if (byCom.count(n) != 0) continue;
            const std::string link = ComDevicePath(n, env_);
            if (link.empty() || link.rfind(env_.comportsDir, 0) != 0) continue;  // default rule
            std::error_code linkEc;
            if (!fs::exists(link, linkEc)) continue;  // dangling: the device is not there
            fs::path target = fs::read_symlink(link, linkEc);
            std::string label = linkEc ? link : target.string();
            byCom[n] = SerialDeviceInfo{link, label + " (COM" + std::to_string(n) + ")"};
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

}  // namespace serial
