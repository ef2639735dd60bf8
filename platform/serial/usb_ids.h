#pragma once
// Names of USB vendors and products from the USB id database ("usb.ids", Debian package
// usb.ids), for devices that carry no name strings of their own.

#include <string>

namespace serial {

// Where Debian installs the database.
inline constexpr const char* kUsbIdsPath = "/usr/share/misc/usb.ids";

// "<vendor> <product>", or "<vendor>" when the product is not listed; empty when the vendor
// is not listed or the file cannot be read. Ids are four hexadecimal digits (any case).
std::string UsbIdName(const std::string& databasePath, const std::string& vendorId,
                      const std::string& productId);

}  // namespace serial
