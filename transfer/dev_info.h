#pragma once
// The device-information block (the model's device-information register and the three after
// it): model code, firmware version and serial number of the connected instrument. Every command
// that talks to the instrument runs the check first and stops when it fails; it publishes gvHW and
// gvFW to the rest.

#include <array>
#include <cstdint>
#include <string>

#include "core/context.h"

namespace conf {

using DevInfoWords = std::array<std::int16_t, 4>;

struct DevInfo {
    int hw = 0;                // model code, 0..255
    int fw = 0;                // firmware version, 0..255
    std::uint32_t serial = 0;  // word 2 high, word 3 low
};

struct DevInfoLocator {
    int panel = 0;
    int caption = 0;  // 0: the captions are laid out on the page itself
    int product = 0;
    int hardware = 0;
    int firmware = 0;
    int serial = 0;
};
namespace DevInfo2 {

// The configuration page and the block's controls.
int init(Context& ctx, DevInfoLocator* loc);

// The device check: reads the block, shows it, checks the model. 0 when read and matching,
// -1 on a foreign model code, the negative link result when the read failed (gvHW := 255).
// Left in gr as well. Shows "Reading" and the failures, never "Read OK": the caller closes.
int fr_Modbus_to_GUI(Context& ctx);
// The four registers into words; 0 or the negative link result.
int fr_Modbus(Context& ctx, DevInfoWords* words);
void RAM_dev_to_gui(const DevInfoWords& words, DevInfo* record);
int to_GUI(Context& ctx, const DevInfo& record);
// The model check on gvHW and the dimming of LOCK and RTU that follows from gvFW.
int diff(Context& ctx);
}  // namespace DevInfo2

// The texts shown for a record.
// The product name of one of the model's codes, else the code as "0x%02x".
std::string fn_DevInfo_Product_Text(const Model& model, int hw);
// Whether gvHW is one of the codes of the model this configurator serves.
bool fn_DevInfo_Own_Model(Context& ctx);
std::string fn_DevInfo_Firmware_Text(int fw);
std::string fn_DevInfo_Serial_Text(std::uint32_t serial);
namespace DevInfo2 {

// The block's file form: four lines "%04x", one per word in register order. 0, or -1 when
// the file cannot be written or read or does not hold four words; words are then unchanged.
int to_FILE(Context& ctx, const std::string& path, const DevInfoWords& words);
int fr_FILE(Context& ctx, const std::string& path, DevInfoWords* words);
}  // namespace DevInfo2

}  // namespace conf
