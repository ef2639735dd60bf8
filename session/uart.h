#pragma once
// The link start from the settings file, the recovery of the instrument's station, baud rate
// and frame format from their second values, and the RS-485 on/off switch.

#include "core/context.h"

namespace conf {
namespace UART {

// 0; -1 settings file unreadable; -2 port not opened; or the recovery's negative result.
int init(Context& ctx);
// Copies the second values ID_B, BR_B and RTU_B (the model's recovery block) into the working
// registers of station, baud rate and frame format and follows each on the program's side. 0, or -1
// at the first failed access.
int Recovery_ID_BR_RTU(Context& ctx);
}  // namespace UART
// The UART button: the link start again.
int evUART(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);
// The RS-485 on/off switch: writes its value to the model's RS-485 register in EEPROM.
int RS485_on_off(Context& ctx, int panel, int control, int event, void* data, int data1, int data2);

}  // namespace conf
