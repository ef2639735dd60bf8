#pragma once
// An instrument model as the configurator sees it: who it is, its register map, and the plans
// the shared procedures run for it (read-all, write-all, parameter files, link recovery).
// One descriptor per model; the program's context carries the one it serves. Everything a
// model lacks is absent here (an empty list, a -1 address), never an empty control.

#include <span>

#include "core/selector.h"
#include "models/focus_orders.h"
#include "models/param_catalogue.h"

namespace conf {

// A model code the configurator accepts (high byte of the device-information word) and the
// product name shown for it.
struct ModelCode {
    int code;
    const char* product;
};

// What a register's new value sets off on the pages or on the program's own link.
enum class FollowUp {
    kNone,
    kInputType,     // ranges, dimming and decimal point of the input type
    kDecimalPoint,  // ranges and precision; the shown values are from now on rendered with it
    kStation,       // the program's station number follows
    kBaudRate,      // the program's baud rate follows and the port is reopened
    kFrameFormat,   // the program's frame format follows and the port is reopened
    kBothPages,     // the calibration page's twin of the control shows the value too
};

// Who owns a register: a parameter module of the configuration page, or the program's own use
// of a register outside the configuration block. kNone owns nothing.
enum class Module {
    kNone,
    // Parameter modules.
    kType,
    kUnit,
    kDp,
    kMRngUsr,
    kPvofUsr,
    kLinScale,
    kFilt,
    kDir,
    kCut,
    kRtsV,
    kId,
    kBr,
    kAxFU,
    kAxMD,
    kAxSP,
    kAxHY,
    kLinSig,
    kRtu,
    kLock,
    // Registers outside the configuration block.
    kRs485,         // the RS-485 switch
    kPolarity,      // the input polarity of the calibration page
    kCalCommand,    // the calibration command
    kRelay,         // relay test, one register per alarm
    kLinkCopy,      // second values of the link settings: station, baud rate, frame format
    kProcessValue,  // read each tick; the remote value is written to it
    kConverter,     // the converter readings
    kStatus,        // two status bits
    kDevInfo,       // model code and firmware version; member 1 is spare
    kSerial,        // serial number, high word first
    kDigit,         // display digits
    kAlarmAmount,   // alarms in use
    kCount,         // not a module: the number of them
};

// The module's name in reports ("TYPE_cfg"); "?" for none or an unknown value.
const char* ModuleName(Module module);
// Whether the module is one of the parameter modules the configuration block applies.
bool IsParameterModule(Module module);

// One register: where it lives, how wide it is, what it is called in traces and files, and
// which module (and member of it) owns it.
struct RegisterRecord {
    int address;
    int width;         // 16 or 32 bits
    const char* name;  // short name of traces and buffer files
    Module module;     // owning module
    int member;        // member of a multi-register module, 0 otherwise
    FollowUp after;    // follow-up on the pages when a value is applied
};

struct Identity {
    int programNumber;                 // names the source modules in error reports ("m104__UART")
    const char* programName;           // "Tarnel": parameter and record file names
    std::span<const ModelCode> codes;  // as characters, the hardware codes ('h' is 104)
    const char* panelResource;         // relative to the working directory
    const char* panelName;             // the main panel in that resource
    const char* aboutCaption;
    const char* paramFileNameFormat;  // year, month, day, hour, minute, second
    const char* pvRecordNameFormat;   // year, month, day, hour
    const char* pvRecordWriter;
    int addrRS485;  // RS-485 on/off register
};

// How read-all fetches the configuration.
struct ReadPlan {
    bool serialFirst;       // serial number read before the parameters (else after)
    int addrPolarity;       // read before the block into its ring; -1 when the model has none
    int block16Address;     // first register of the 16-bit block
    int blockLengthFw1;     // its registers with firmware version 1 (and 0)
    int blockLength;        // from fullBlockFirmware on
    int fullBlockFirmware;  // the first firmware version with the whole block
    std::span<const int> applyOrder;  // addresses of the 16-bit block applied, in this order
    int block32Address;               // first 32-bit value, one value per address; -1 when none
    int block32Count;
    const char* blockLogLine;  // "Modbus r Parameter of Dev %d words \n"
};

// One line of a write-all buffer file: the register and the access code it is sent with.
struct BufferLine {
    int address;
    const char* name;
    int code;
};

struct BufferFile {
    const char* fileName;
    int width;  // 16: one register a line; 32: one value at the line's address
    std::span<const BufferLine> lines;
    const char* logLine;  // written before the replay
};

// One entry of the range check: a module, with each member selected in turn. Consecutive
// entries of several members and the same count are checked member by member together: member 0
// of each, then member 1 of each.
struct RangeCheckEntry {
    Module module;
    int members;  // 1 for a single-control module
};

struct WritePlan {
    const char* banner;           // logged first; nullptr: none
    int addrID, addrBR, addrRTU;  // link settings, written first
    int rtuFirmware;              // the frame format is written from this firmware version on
    std::span<const BufferFile> buffers;
    // The line addresses beyond the firmware's block are left out (16-bit buffers only).
    bool linesByFirmware;
    bool readAfterFailedWrite;
    std::span<const RangeCheckEntry> rangeCheck;
    bool hasOutOfRangeMessage;  // status 47 "Out of Range" exists
};

struct FilePlan {
    int headerAddress;               // the line holding the model code
    std::span<const int> addresses;  // parameter lines, in file order
    bool linesByFirmware;            // 16-bit lines beyond the firmware's block are left out
    bool terminator;                 // an "ffff" line ends the file
    int maxLines;                    // lines a load reads
    bool maxLinesCountHeader;        // whether the header counts towards maxLines
    const char* loadedMessage;       // shown in green after a load; nullptr: none
    bool refusalRed;                 // a refused file is said in red (else in the line's colour)
};

// The second values of the link settings that start-up copies back into the working ones.
struct RecoveryBlock {
    int address;
    int count;
    int idWord, brWord, rtuWord;
};

// The process-value poll: what each timer tick reads and where it shows it.
struct PvPoll {
    int addrDP;           // read once when monitoring starts
    int addrPV;           // each tick
    int pvWidth;          // 16 or 32 bits
    bool openSensorCode;  // 0x7FFF in the process value means an open sensor (else a number)
    int addrADC;          // the converter readings
    int adcWidth;         // 16: adcCount registers; 32: one value
    int adcCount;
    const char* adcValueTrace;  // written with the 32-bit reading ("A0 = %d \n"); nullptr: none
    int addrStatus;             // two status bits
    int statusFirmware;         // read from this firmware version on
    bool okBeforeStatus;        // "Read OK" right after the converter read (else after the bits)
    int reopenEvery;  // the trace is reopened every n ticks so it reaches the disk; 0: never
};

// One step of the input calibration.
struct CalStep {
    const char* name;  // in the store's log line
    int presetType;    // input type written at the begin; -1: none
    int presetUnit;    // unit written after it; -1: none
    int code;          // store command
    int access;        // code of the store write
};

struct InputCalibration {
    std::span<const CalStep> steps;
    int addrCommand;     // the calibration command register
    int addrReadings;    // the converter readings a tick shows
    int readingsWidth;   // 16: two registers; 32: one value
    int presetAccess;    // code of the input-type write (the unit always goes to EEPROM)
    int polarityOffset;  // added to the store code when the polarity ring shows 1
};

// Start-up steps that differ.
struct StartUp {
    bool groupCallbacks;  // the input-type buttons, linear rows and calibration fields get their
                          // callbacks here (else the panel resource names them)
    bool readBeforeShow;  // read-all runs before the panel is shown (else after)
};

// The remote value: where and how wide it is written.
struct RemoteValue {
    int address;
    int width;  // 16: one register with code 5; 32: one value with code 16
};

struct Transactions {
    bool wait32;     // a 0.05 s pause between request and answer in the 32-bit engine
    bool logYNLine;  // the event log's start writes its "gvLogYN" line
};

// Callback names of the panel resource, by the shared function they reach.
struct CallbackName {
    const char* resource;  // as the panel resource names it
    const char* shared;    // the program's function
};

struct Model {
    Identity id;
    std::span<const RegisterRecord> registers;
    ReadPlan read;
    WritePlan write;
    FilePlan file;
    SelectorField dpp;  // the decimal point the shown values were rendered with, in gsRAM01
    RecoveryBlock recovery;
    Transactions transactions;
    StartUp startUp;
    RemoteValue remote;
    PvPoll poll;
    InputCalibration calibration;
    const ParamCatalogue& catalogue;
    const FocusOrders& focus;
    std::span<const CallbackName> callbacks;
};

// The register record at `address`; nullptr when the model has none there.
const RegisterRecord* FindRegister(const Model& model, int address);
// The register of `module`'s member; nullptr when the model has none.
const RegisterRecord* RegisterOf(const Model& model, Module module, int member = 0);
// Its address; -1 when the model has none.
int AddressOf(const Model& model, Module module, int member = 0);
// Whether `code` is one of the model's codes; the product name or nullptr.
const char* ProductOf(const Model& model, int code);

}  // namespace conf
