#include "sim/fault.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace sim {

namespace {

bool ToInt(const std::string& text, int min, int max, int* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    *out = static_cast<int>(v);
    return true;
}

bool ToSeconds(const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(v >= 0.0 && v <= 60.0)) return false;
    *out = v;
    return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::string::size_type from = 0;
    for (;;) {
        auto at = s.find(sep, from);
        parts.push_back(s.substr(from, at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

struct KindName {
    FaultKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {
    {FaultKind::kSilence, "silence"},    {FaultKind::kCut, "cut"},
    {FaultKind::kLate, "late"},          {FaultKind::kBadCrc, "bad-crc"},
    {FaultKind::kNoise, "noise"},        {FaultKind::kException, "exception"},
    {FaultKind::kVanish, "vanish"},      {FaultKind::kReset, "reset"},
    {FaultKind::kStall, "stall"},        {FaultKind::kEchoGarbled, "echo-garbled"},
    {FaultKind::kEchoLost, "echo-lost"},
};

}  // namespace

const char* FaultName(FaultKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.name;
    return "none";
}

int ParseFault(const std::string& text, Fault* out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = "fault \"" + text + "\": " + why;
        return -1;
    };
    std::vector<std::string> parts = Split(text, ',');
    Fault f;
    const std::string head = parts[0];
    const auto eq = head.find('=');
    const std::string name = head.substr(0, eq);
    const bool hasArg = eq != std::string::npos;
    const std::string arg = hasArg ? head.substr(eq + 1) : std::string();
    f.kind = FaultKind::kNone;
    for (const auto& k : kKinds)
        if (name == k.name) f.kind = k.kind;
    switch (f.kind) {
        case FaultKind::kNone:
            return fail(
                "unknown kind (silence, cut, late, bad-crc, noise, exception, vanish, reset, "
                "stall, echo-garbled, echo-lost)");
        case FaultKind::kCut:
            if (hasArg && !ToInt(arg, 0, 255, &f.bytes)) return fail("cut takes 0..255 bytes");
            break;
        case FaultKind::kNoise:
            if (hasArg && !ToInt(arg, 1, 64, &f.bytes)) return fail("noise takes 1..64 bytes");
            break;
        case FaultKind::kLate:
            if (hasArg && !ToSeconds(arg, &f.delay)) return fail("late takes 0..60 seconds");
            break;
        case FaultKind::kException:
            if (hasArg && !ToInt(arg, 1, 255, &f.exceptionCode))
                return fail("exception takes a code 1..255");
            break;
        default:
            if (hasArg) return fail("takes no value");
            break;
    }
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::string& p = parts[i];
        if (p.rfind("after=", 0) == 0) {
            if (!ToInt(p.substr(6), 0, 1000000, &f.after)) return fail("after takes 0 or more");
        } else if (p.rfind("count=", 0) == 0) {
            if (!ToInt(p.substr(6), 0, 1000000, &f.count)) return fail("count takes 0 or more");
        } else {
            return fail("unknown part \"" + p + "\" (after=N, count=N)");
        }
    }
    *out = f;
    return 0;
}

}  // namespace sim
