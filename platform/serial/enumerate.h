#pragma once
// The serial ports present on this machine, named for the port selection lists the way a
// technician knows them: "Prolific Technology Inc. USB-Serial Controller (COM33)".

#include <string>
#include <vector>

#include "platform/serial/com_map.h"
#include "platform/serial/usb_ids.h"

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
    // The device list a technician sees in a device manager: every present device, serial
    // ports named with their COM designation, other devices without one. Order: the comports
    // folder's links by COM number, then the system's serial ports by COM number, then the
    // ports with no COM number and the other USB devices.
    virtual std::vector<std::string> PresentDeviceNames() = 0;
};

// Reads <sysfsRoot>/class/tty: ttyS* ports that sysfs reports present (a device link and a
// type other than 0), every ttyUSB* and ttyACM* with a device link, plus the comports folder's
// links whose target exists and its links to network ports ("rfc2217://10.0.0.5:4001 (COM20)",
// listed without asking the server). USB ports are named "<manufacturer> <product>" from the
// USB device directory, built-in ones "Communications Port", folder links by their target. Ports
// with no COM number are left out, and a COM number appears once (sysfs entries first).
// A missing or unreadable tree gives an empty list. A USB device without name strings is
// named from the USB id database at usbIdsPath.
//
// PresentDeviceNames adds the USB devices of <sysfsRoot>/bus/usb/devices (hubs included),
// named like the ports, and lists each folder link by its target; a link to a system port
// takes that port's name, so one port never appears twice.
class SysfsDeviceLister final : public DeviceLister {
  public:
    explicit SysfsDeviceLister(ComMapEnv env, std::string sysfsRoot = "/sys",
                               std::string usbIdsPath = kUsbIdsPath);
    std::vector<SerialDeviceInfo> Devices();
    std::vector<std::string> FriendlyNames() override;
    std::vector<std::string> PresentDeviceNames() override;

  private:
    struct Tty {
        std::string path;   // /dev/<name>
        std::string label;  // without the COM designation
    };
    // The present system ports of class/tty.
    std::vector<Tty> SystemPorts();

    ComMapEnv env_;
    std::string root_;
    std::string usbIds_;
};

}  // namespace serial
