#include "platform/serial/usb_ids.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace serial {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "<4 hex digits>  <name>" at the start of line: the id and the name.
bool IdLine(const std::string& line, std::string* id, std::string* name) {
    if (line.size() < 7) return false;
    for (int i = 0; i < 4; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(line[static_cast<size_t>(i)]))) return false;
    if (line[4] != ' ') return false;
    *id = Lower(line.substr(0, 4));
    size_t start = line.find_first_not_of(' ', 4);
    *name = start == std::string::npos ? "" : line.substr(start);
    while (!name->empty() && std::isspace(static_cast<unsigned char>(name->back())))
        name->pop_back();
    return true;
}

}  // namespace

std::string UsbIdName(const std::string& databasePath, const std::string& vendorId,
                      const std::string& productId) {
    std::ifstream in(databasePath);
    if (!in) return {};
    const std::string vendor = Lower(vendorId), product = Lower(productId);
    std::string line, id, name, vendorName;
    bool inVendor = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] != '\t') {
            if (inVendor) break;  // the vendor's products are over
            // Vendor lines come first; the class and language tables after them start with
            // a letter and a space, which IdLine does not take.
            if (IdLine(line, &id, &name) && id == vendor) {
                inVendor = true;
                vendorName = name;
            }
        } else if (inVendor && line.size() > 1 && line[1] != '\t' &&
                   IdLine(line.substr(1), &id, &name) && id == product) {
            return vendorName + " " + name;
        }
    }
    return vendorName;
}

}  // namespace serial
