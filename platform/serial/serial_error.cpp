#include "platform/serial/serial_error.h"

namespace serial {

const char* SerialErrorText(int code) {
    switch (code) {
        case kErrNotMapped:
            return "COM port not mapped: link the device as COM<n> in the comports folder";
        case kErrNoDevice:
            return "serial device not found: check that the adapter is plugged in";
        case kErrBusy:
            return "serial device busy: another program is using it, close that program first";
        case kErrPermission:
            return "permission denied: add the user to the 'dialout' group "
                   "(sudo usermod -aG dialout $USER) and log in again";
        case kErrSettings:
            return "the serial device does not accept these line settings (baud, parity, bits)";
        case kErrNotOpen:
            return "the COM port is not open";
        case kErrIo:
            return "serial read/write failed: check the cable and that the adapter is still "
                   "plugged in";
        case kErrBadPort:
            return "port number out of range (1..1000)";
        case kErrOpen:
            return "the serial device could not be opened (is it a serial port?)";
        case kErrArgument:
            return "invalid byte count or buffer";
        default:
            return code < 0 ? "unknown serial error" : "no error";
    }
}

}  // namespace serial
