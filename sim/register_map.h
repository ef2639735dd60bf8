#pragma once
// The registers of an instrument model: address, what the register does, its width, who may
// read and write it, the values a write may carry and its factory value.

#include <cstdint>
#include <limits>
#include <vector>

#include "sim/config.h"

namespace sim {

enum class Role {
    kParameter,  // a stored setting
    kStation,    // working link settings: stored, take effect after the answer
    kBaud,
    kFormat,
    kStoredStation,  // second values: the link settings as stored in EEPROM, read only
    kStoredBaud,
    kStoredFormat,
    kProcessValue,   // reads the process value; a write sets the remote value
    kConverter,      // converter reading number `index`
    kStatusBits,     // bit 0 alarm 1 output, bit 1 alarm 2 output
    kDeviceCode,     // model code (high byte) and firmware version (low byte)
    kSpare,          // reads 0
    kDisplayDigits,  // written as 0x4600 + index, read as the index
    kAlarmAmount,    // written as 0x4700 + index, read as the index
    kCalibration,    // calibration command; reads the last one
    kRelayTest,      // relay `index` forced on (1) or off (0); RAM only
    kForce,          // the forcing register: only 0x6C2E, write only
};

struct RegisterDef {
    int address = 0;
    Role role = Role::kParameter;
    const char* name = "";
    bool wide = false;  // one 32-bit value, two registers on the wire, high word first
    bool readable = true;
    bool writable = false;
    bool readOnlyMemory = false;                                  // also readable with code 4
    std::int32_t min = std::numeric_limits<std::int32_t>::min();  // accepted write values
    std::int32_t max = std::numeric_limits<std::int32_t>::max();
    std::int32_t initial = 0;  // factory value of a stored register
    int index = 0;
};

class RegisterMap {
  public:
    explicit RegisterMap(std::vector<RegisterDef> defs);
    // The register at address, or null when the model has none there.
    const RegisterDef* Find(int address) const;
    const std::vector<RegisterDef>& All() const { return defs_; }

  private:
    std::vector<RegisterDef> defs_;  // sorted by address
};

// The register map of config.model, with the config's link settings and serial number as the
// factory values. Model A with firmware 1 has no registers 29 and 30.
RegisterMap BuildRegisterMap(const InstrumentConfig& config);

// Addresses the instrument's own logic uses, per model.
struct KeyAddresses {
    int type, dp, low, high, offset, setPoint1, setPoint2;
    int station, baud, format;
    int displayDigits, alarmAmount;
    bool wideProcess;  // process value and converter are 32-bit (model B)
};
KeyAddresses KeysOf(Model model);

}  // namespace sim
