#include "platform/serial/rs232.h"

#include <cctype>
#include <climits>

#include "platform/serial/serial_error.h"

namespace serial {
namespace {

bool ValidPort(int port) {
    return port >= kMinLogicalPort && port <= kMaxLogicalPort;
}

// "COM5", "com5" and the Windows device form "\\.\COM12"; 0 when the name is none of them.
int ComNumberOfName(const std::string& name) {
    std::string rest = name;
    if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
    if (rest.size() < 4 || rest.size() > 6) return 0;
    if (std::toupper(static_cast<unsigned char>(rest[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(rest[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(rest[2])) != 'M')
        return 0;
    std::string digits = rest.substr(3);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits[0] == '0') return 0;
    return std::stoi(digits);
}

}  // namespace

Rs232::Rs232(Backend& backend, ComMapEnv env) : backend_(backend), env_(std::move(env)) {}

int Rs232::Fail(int code, const std::string& detail) {
    detail_ = detail;
    return code;
}

Rs232::OpenPort* Rs232::Find(int port, int* code) {
    if (!ValidPort(port)) {
        *code = kErrBadPort;
        return nullptr;
    }
    auto it = ports_.find(port);
    if (it == ports_.end()) {
        *code = kErrNotOpen;
        return nullptr;
    }
    return &it->second;
}

int Rs232::OpenComConfig(int port, const std::string& deviceName, long baud, int parity,
                         int dataBits, int stopBits) {
    notes_.clear();
    if (!ValidPort(port))
        return Fail(kErrBadPort, "port " + std::to_string(port) + ": outside 1..1000");
    ports_.erase(port);

    const std::string path = PathOfName(deviceName);
    if (path.empty()) {
        const int com = ComNumberOfName(deviceName);
        std::string where = env_.comportsDir.empty() ? "the comports folder" : env_.comportsDir;
        return Fail(kErrNotMapped, "'" + deviceName + "' is not mapped to a device: link " +
                                       (com != 0 ? "COM" + std::to_string(com) : "it") + " in " +
                                       where);
    }
    if (baud <= 0 || baud > INT_MAX)
        return Fail(kErrSettings, deviceName + " (" + path + "): baud " + std::to_string(baud));

    LineSettings settings{static_cast<int>(baud), parity, dataBits, stopBits};
    std::unique_ptr<Port> opened;
    int rc = backend_.Open(path, settings, &opened);
    if (rc < 0) {
        std::string why = backend_.LastOpenDetail();
        notes_ = backend_.LastOpenNotes();
        return Fail(rc, deviceName + " (" + path + "): " + SerialErrorText(rc) +
                            (why.empty() ? "" : " [" + why + "]"));
    }
    notes_ = backend_.LastOpenNotes();
    OpenPort& open = ports_[port];
    open = OpenPort{std::move(opened), path, kDefaultComTimeout, {}, {}};
    const int com = ComNumberOfName(deviceName);
    const std::string configPath = com != 0 ? ComConfigPath(com, env_) : std::string();
    if (!configPath.empty()) open.config = ReadPortConfig(configPath, &open.notes);
    return 0;
}

std::string Rs232::PathOfName(const std::string& deviceName) const {
    if (!deviceName.empty() && deviceName[0] == '/') return deviceName;
    const int com = ComNumberOfName(deviceName);
    return com != 0 ? ComDevicePath(com, env_) : std::string();
}

int Rs232::CloseCom(int port) {
    int code = 0;
    if (Find(port, &code) == nullptr) return code;
    ports_.erase(port);
    return 0;
}

int Rs232::SetComTime(int port, double seconds) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    if (!(seconds >= 0.0)) return kErrArgument;
    p->timeout = seconds;
    return 0;
}

int Rs232::GetComTime(int port, double* seconds) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    if (seconds == nullptr) return kErrArgument;
    *seconds = p->timeout;
    return 0;
}

int Rs232::FlushInQ(int port) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    int rc = p->port->FlushInput();
    return rc < 0 ? Fail(rc, p->path + ": " + SerialErrorText(rc)) : rc;
}

int Rs232::FlushOutQ(int port) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    int rc = p->port->FlushOutput();
    return rc < 0 ? Fail(rc, p->path + ": " + SerialErrorText(rc)) : rc;
}

int Rs232::ComWrt(int port, const std::uint8_t* data, int n) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    int rc = p->port->Write(data, n);
    return rc < 0 ? Fail(rc, p->path + ": " + SerialErrorText(rc)) : rc;
}

int Rs232::ComRd(int port, std::uint8_t* data, int n) {
    int code = 0;
    OpenPort* p = Find(port, &code);
    if (p == nullptr) return code;
    int rc = p->port->Read(data, n, p->timeout);
    return rc < 0 ? Fail(rc, p->path + ": " + SerialErrorText(rc)) : rc;
}

PortConfig Rs232::Config(int port) const {
    auto it = ports_.find(port);
    return it == ports_.end() ? PortConfig{} : it->second.config;
}

std::vector<std::string> Rs232::ConfigNotes(int port) const {
    auto it = ports_.find(port);
    return it == ports_.end() ? std::vector<std::string>{} : it->second.notes;
}

bool Rs232::IsOpen(int port) const {
    return ports_.count(port) != 0;
}

std::string Rs232::DevicePath(int port) const {
    auto it = ports_.find(port);
    return it == ports_.end() ? std::string() : it->second.path;
}

}  // namespace serial
