#pragma once
// The serial ports present on this machine, named for the port selection lists the way a
// technician knows them: "Prolific Technology Inc. USB-Serial Controller (COM33)".

#include <string>
#include <vector>

#include "platform/serial/com_map.h"

namespace serial {

struct SerialDeviceInfo {
    std::string path;          // device to open, e.g. "/dev/ttyUSB0" or a comports folder link
    std::string friendlyName;  // ends in " (COM<n>)"
};

class DeviceLister {
  public:
    virtual ~DeviceLister();
    // One name per present port, in COM number order.
    virtual std::vector<std::string> FriendlyNames() = 0;
};

// Reads <sysfsRoot>/class/tty: ttyS* ports that sysfs reports present (a device link and a
// type other than 0), every ttyUSB* and ttyACM* with a device link, plus the comports folder's
// links whose target exists. USB ports are named "<manufacturer> <product>" from the USB
// device directory, built-in ones "Communications Port", folder links by their target. Ports
// with no COM number are left out, and a COM number appears once (sysfs entries first).
// A missing or unreadable tree gives an empty list.
class SysfsDeviceLister final : public DeviceLister {
  public:
    explicit SysfsDeviceLister(ComMapEnv env, std::string sysfsRoot = "/sys");
    std::vector<SerialDeviceInfo> Devices();
    std::vector<std::string> FriendlyNames() override;

  private:
    ComMapEnv env_;
    std::string root_;
};

}  // namespace serial
