#include "platform/serial/port_config.h"

#include "platform/sys/small_file.h"

namespace serial {

namespace {

// A few settings a line: anything longer is not a settings file.
constexpr std::size_t kConfigBytes = 16 * 1024;

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

PortConfig ParsePortConfig(const std::string& text, const std::string& name,
                           std::vector<std::string>* notes) {
    PortConfig config;
    const auto note = [&](int line, const std::string& what) {
        if (notes) notes->push_back(name + " line " + std::to_string(line) + ": " + what);
    };
    std::size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            note(number, "\"" + line + "\" is no key=value, ignored");
            continue;
        }
        const std::string key = Trimmed(line.substr(0, eq));
        const std::string value = Trimmed(line.substr(eq + 1));
        if (key != "echo") {
            note(number, "unknown key \"" + key + "\", ignored");
        } else if (value == "on" || value == "off") {
            config.echo = value == "on";
        } else {
            note(number, "echo takes on or off, not \"" + value + "\", ignored");
        }
    }
    return config;
}

PortConfig ReadPortConfig(const std::string& path, std::vector<std::string>* notes) {
    std::string text;
    int error = 0;
    const int r = sys::ReadFileHead(path, kConfigBytes, &text, &error);
    if (r == sys::kFileMissing) return PortConfig{};
    if (r < 0) {
        if (notes)
            notes->push_back(BaseName(path) + ": " + sys::FileProblemText(r, error) +
                             ", its settings ignored");
        return PortConfig{};
    }
    return ParsePortConfig(text, BaseName(path), notes);
}

}  // namespace serial
