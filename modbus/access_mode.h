#pragma once
// Function codes as access modes: the instrument tells RAM from EEPROM writes by the code.
// Below both the link core and the model descriptors, which name them alike.

namespace conf {

enum AccessMode : int {
    enR = 3,     // read registers of the read/write memory
    enRo = 4,    // read registers of the read-only memory
    enWram = 5,  // write one register, RAM only
    enWee = 6,   // write one register and store it in EEPROM
    enWmw = 16,  // write n words (also sent as 9)
    enWmw9 = 9,
};

}  // namespace conf
