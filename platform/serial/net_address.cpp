#include "platform/serial/net_address.h"

#include <arpa/inet.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

namespace serial {
namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

// A host name: dot-separated labels of letters, digits, '-' and '_', none empty or longer
// than 63, 253 characters at most. IPv4 literals are names by this rule.
bool ValidHostName(const std::string& host) {
    if (host.empty() || host.size() > 253) return false;
    size_t label = 0;
    for (char c : host) {
        if (c == '.') {
            if (label == 0) return false;
            label = 0;
            continue;
        }
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return false;
        if (++label > 63) return false;
    }
    return label != 0;
}

// An IPv6 literal, with an optional "%zone" (interface name) after it.
bool ValidIpv6(const std::string& text) {
    const size_t percent = text.find('%');
    const std::string address = text.substr(0, percent);
    in6_addr parsed{};
    if (inet_pton(AF_INET6, address.c_str(), &parsed) != 1) return false;
    if (percent == std::string::npos) return true;
    const std::string zone = text.substr(percent + 1);
    return !zone.empty() && ValidHostName(zone) && zone.find('.') == std::string::npos;
}

bool ParsePort(const std::string& digits, int* port) {
    if (digits.empty() || digits.size() > 5) return false;
    if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
    const int value = std::stoi(digits);
    if (value < 1 || value > 65535) return false;
    *port = value;
    return true;
}

}  // namespace

bool ParseNetAddress(const std::string& text, NetAddress* out) {
    NetAddress parsed;
    std::string rest;
    if (StartsWithNoCase(text, "rfc2217://")) {
        parsed.transport = Transport::kRfc2217;
        rest = text.substr(10);
    } else if (StartsWithNoCase(text, "tcp://")) {
        parsed.transport = Transport::kRawTcp;
        rest = text.substr(6);
    } else {
        return false;
    }
    std::string portText;
    if (!rest.empty() && rest[0] == '[') {
        const size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return false;
        parsed.host = rest.substr(1, close - 1);
        if (!ValidIpv6(parsed.host)) return false;
        portText = rest.substr(close + 2);
    } else {
        const size_t colon = rest.rfind(':');
        if (colon == std::string::npos) return false;
        parsed.host = rest.substr(0, colon);
        if (!ValidHostName(parsed.host)) return false;  // bare IPv6 ("::1:4001") is ambiguous
        portText = rest.substr(colon + 1);
    }
    if (!ParsePort(portText, &parsed.port)) return false;
    parsed.url = text;
    *out = std::move(parsed);
    return true;
}

bool NetAddressOfDevice(const std::string& devicePath, NetAddress* out) {
    if (ParseNetAddress(devicePath, out)) return true;
    struct stat st {};
    if (lstat(devicePath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    std::string target(512, '\0');
    const ssize_t n = readlink(devicePath.c_str(), target.data(), target.size());
    // A target that fills the buffer may be longer: no URL of ours is that long.
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return false;
    target.resize(static_cast<size_t>(n));
    return ParseNetAddress(target, out);
}

Transport TransportOfDevice(const std::string& devicePath) {
    NetAddress address;
    return NetAddressOfDevice(devicePath, &address) ? address.transport : Transport::kLocal;
}

std::string NetworkUrlOfDevice(const std::string& devicePath) {
    NetAddress address;
    return NetAddressOfDevice(devicePath, &address) ? address.url : std::string();
}

}  // namespace serial
