#include "models/model_a.h"

#include "modbus/access_mode.h"
#include "models/family.h"
#include "models/family_registers.h"

namespace conf {

namespace {

constexpr ModelCode kCodes[] = {{104, "Tarnel"}, {106, "Quillet (Tarnel)"}};

using F = FollowUp;
using M = Module;
// The configuration block, registers 0 to 30 (type and decimal point come before the values
// whose ranges and precision they decide), then the registers outside it.
constexpr RegisterRecord kRegisters[] = {
    {0, 16, "TYPE", M::kType, 0, F::kInputType},
    {1, 16, "UNIT", M::kUnit, 0, F::kNone},
    {2, 16, "DP", M::kDp, 0, F::kDecimalPoint},
    {3, 16, "LOLT", M::kMRngUsr, 0, F::kNone},
    {4, 16, "HILT", M::kMRngUsr, 1, F::kNone},
    {5, 16, "PVOF", M::kPvofUsr, 0, F::kNone},
    {6, 16, "SCA.L", M::kLinScale, 0, F::kNone},
    {7, 16, "SCA.H", M::kLinScale, 1, F::kNone},
    {8, 16, "FILT", M::kFilt, 0, F::kNone},
    {9, 16, "DIR", M::kDir, 0, F::kNone},
    {10, 16, "CUT", M::kCut, 0, F::kNone},
    {11, 16, "RTS.L", M::kRtsV, 0, F::kBothPages},
    {12, 16, "RTS.H", M::kRtsV, 1, F::kBothPages},
    {13, 16, "ID", M::kId, 0, F::kStation},
    {14, 16, "BR", M::kBr, 0, F::kBaudRate},
    {15, 16, "A1FU", M::kAxFU, 0, F::kNone},
    {16, 16, "A1MD", M::kAxMD, 0, F::kNone},
    {17, 16, "A1SP", M::kAxSP, 0, F::kNone},
    {18, 16, "A1HY", M::kAxHY, 0, F::kNone},
    {19, 16, "A2FU", M::kAxFU, 1, F::kNone},
    {20, 16, "A2MD", M::kAxMD, 1, F::kNone},
    {21, 16, "A2SP", M::kAxSP, 1, F::kNone},
    {22, 16, "A2HY", M::kAxHY, 1, F::kNone},
    {23, 16, "mV.L", M::kLinSig, 0, F::kNone},
    {24, 16, "mV.H", M::kLinSig, 1, F::kNone},
    {25, 16, "V.L", M::kLinSig, 2, F::kNone},
    {26, 16, "V.H", M::kLinSig, 3, F::kNone},
    {27, 16, "mA.L", M::kLinSig, 4, F::kNone},
    {28, 16, "mA.H", M::kLinSig, 5, F::kNone},
    {29, 16, "RTU", M::kRtu, 0, F::kFrameFormat},
    {30, 16, "LOCK", M::kLock, 0, F::kNone},
    {0x001F, 16, "RS485", M::kRs485, 0, F::kNone},
    {0x0A02, 16, "CAL", M::kCalCommand, 0, F::kNone},
    {0x0A04, 16, "RELAY1", M::kRelay, 0, F::kNone},
    {0x0A05, 16, "RELAY2", M::kRelay, 1, F::kNone},
    // The second values of the link settings share their block with the measuring side.
    {0x1000, 16, "ID_B", M::kLinkCopy, 0, F::kNone},
    {0x1001, 16, "BR_B", M::kLinkCopy, 1, F::kNone},
    {0x1002, 16, "PV", M::kProcessValue, 0, F::kNone},
    {0x1003, 16, "ADC0", M::kConverter, 0, F::kNone},
    {0x1004, 16, "ADC1", M::kConverter, 1, F::kNone},
    {0x1005, 16, "RTU_B", M::kLinkCopy, 2, F::kNone},
    {0x1006, 16, "STATUS", M::kStatus, 0, F::kNone},
};
// Then the family's device information, serial number, display digits and alarm amount.
constexpr auto kAllRegisters = family::WithDevInfo(kRegisters);

// The block is applied in address order.
constexpr int kApplyOrder[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                               16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};

// The write-all list. The RTS pair has its own write; station, baud rate and frame format go
// before the list; display setup and RS-485 are written by their own controls. The last line
// goes to EEPROM, which stores the whole set.
constexpr BufferLine kBufferLines[] = {
    {30, "LOCK", enWram}, {0, "TYPE", enWram},  {1, "UNIT", enWram},  {2, "DP", enWram},
    {3, "LOLT", enWram},  {4, "HILT", enWram},  {5, "PVOF", enWram},  {6, "SCAL", enWram},
    {7, "SCAH", enWram},  {8, "FILT", enWram},  {9, "DIR", enWram},   {10, "CUT", enWram},
    {15, "A1FU", enWram}, {16, "A1MD", enWram}, {17, "A1SP", enWram}, {18, "A1HY", enWram},
    {19, "A2FU", enWram}, {20, "A2MD", enWram}, {21, "A2SP", enWram}, {22, "A2HY", enWram},
    {23, "mV.L", enWram}, {24, "mV.H", enWram}, {25, "V.L", enWram},  {26, "V.H", enWram},
    {27, "mA.L", enWram}, {28, "mA.H", enWee},
};
constexpr BufferFile kBuffers[] = {
    {"W_para_buff.txt", 16, kBufferLines, "Modbus w Parameter to Dev \n"},
};

constexpr RangeCheckEntry kRangeCheck[] = {
    {M::kUnit, 1},     {M::kDp, 1},   {M::kPvofUsr, 1}, {M::kFilt, 1},   {M::kMRngUsr, 2},
    {M::kLinScale, 2}, {M::kAxSP, 2}, {M::kAxHY, 2},    {M::kLinSig, 6},
};

// Resistance thermometer, thermocouple, volts, milliamperes; the last point of each kind goes
// to EEPROM.
constexpr CalStep kCalSteps[] = {
    {"RTD.L", 9, 0, 1, enWram},  {"RTD.H", -1, -1, 2, enWee}, {"TC.Z", 1, 0, 3, enWram},
    {"TC.L", -1, -1, 4, enWram}, {"TC.H", -1, -1, 5, enWee},  {"V.L", 11, 2, 6, enWram},
    {"V.H", -1, -1, 7, enWee},   {"mA.L", 12, 2, 8, enWram},  {"mA.H", -1, -1, 9, enWee},
};

constexpr CallbackName kCallbacks[] = {
    {"evG104", "evMain"},
    {"evExit", "evExit"},
    {"evAbout", "evAbout"},
    {"evTAB104", "evTAB"},
    {"evForm104", "evForm"},
    {"ev104UART", "evUART"},
    {"RS485_on_off_Tarnel_F", "RS485_on_off"},
    {"ev104_Port", "ev_Port"},
    {"ev104Read", "evRead"},
    {"ev104ParaFrDev", "evParaFrDev"},
    {"ev104Write", "evWrite"},
    {"ev104ParaToDev", "evParaToDev"},
    {"ev104ParaToFile", "evParaToFile"},
    {"ev104ParaFrFile", "evParaFrFile"},
    {"ev104Start", "evStart"},
    {"ev104_SN_B", "ev_SN_B"},
    {"ev104AgentWrite", "evAgentWrite"},
    {"ev104IDcfg", "evIDcfg"},
    {"ev104BRcfg", "evBRcfg"},
    {"ev104RTUcfg", "evRTUcfg"},
    {"ev104Unit", "evUnit"},
    {"ev104DecimalPoint", "evDecimalPoint"},
    {"ev104Cut", "evCut"},
    {"ev104Filter", "evFilter"},
    {"ev104MRng", "evMRng"},
    {"ev104PVOFusr", "evPVOFusr"},
    {"ev104LinSig", "evLinSig"},
    {"ev104LinScale", "evLinScale"},
    {"ev104TypeR", "evTypeR"},
    {"ev104dirR", "evdirR"},
    {"ev104RTS_R_cfg", "evRTS_R_cfg"},
    {"ev104RTS_VAL", "evRTS_VAL"},
    {"ev104AxFU", "evAxFU"},
    {"ev104AxMD", "evAxMD"},
    {"ev104AxSP", "evAxSP"},
    {"ev104AxHY", "evAxHY"},
    {"ev104Lock", "evLock"},
    {"ev104_RSP_W_PV", "ev_RSP_W_PV"},
    {"ev104Digit_Set", "evDigit_Set"},
    {"ev104ALM_Set", "evALM_Set"},
    {"ev104ARelay", "evARelay"},
    {"ev104RTS_R_cal", "evRTS_R_cal"},
    {"ev104RTS_VAL_cal", "evRTS_VAL_cal"},
    {"ev104_SN_V", "ev_SN_V"},
    {"ev104DSP_Limit", "evDSP_Limit"},
    {"ev104MRng_rat", "evMRng_rat"},
    {"ev104PVOF_rat", "evPVOF_rat"},
    {"ev104_MSPV_B", "ev_MSPV_B"},
    {"ev104_MSPV_T", "ev_MSPV_T"},
    {"ev104_ADC_T", "ev_ADC_T"},
    {"evReadPV", "evReadPV"},
    {"Enable_Tarnel_PV_logs_F", "Enable_PV_logs_F"},
    {"Open_Tarnel_PV_logs_F", "Open_PV_logs_F"},
    {"evTrend", "evTrend"},
    {"evTrendPanel", "evTrendPanel"},
    {"ev104Msg", "fn_Ignore"},
    {"ev104DevInfo", "fn_Ignore"},
    {"ev104RTS_sync", "fn_Ignore"},
    {"ev104ADC_V_M", "fn_Ignore"},
    {"ev104ADC_V_I", "fn_Ignore"},
    {"ev104_SN_V_Read", "fn_Ignore"},
    {"ev104GICNTT", "fn_Ignore"},
    {"ev104_MSPV_V", "fn_Ignore"},
    {"ev104IDcomm", "fn_Ignore"},
    {"ev104BRcomm", "fn_Ignore"},
    {"ev104RTUcomm", "fn_Ignore"},
};

}  // namespace

const Model& ModelA() {
    static const Model model{
        .id =
            {
                .programNumber = 104,
                .programName = "Tarnel",
                .codes = kCodes,
                .panelResource = "../gui/G104.json",
                .panelName = "G104",
                .aboutCaption = "Ver.2013-05-28-A",
                .paramFileNameFormat = "%04d%02d%02d_%02d%02d%02d_Tarnel.txt",
                .pvRecordNameFormat = "Tarnel_PV_%04d-%02d-%02d_%02d.txt",
                .pvRecordWriter = "Tarnel_PV_Record",
                .addrRS485 = 0x001F,
            },
        .registers = kAllRegisters,
        .read =
            {
                .serialFirst = false,
                .addrPolarity = -1,
                .block16Address = 0,
                .blockLengthFw1 = 29,
                .blockLength = 31,
                .fullBlockFirmware = 2,
                .applyOrder = kApplyOrder,
                .block32Address = -1,
                .block32Count = 0,
                .blockLogLine = "Modbus r Parameter of Dev %d words \n",
            },
        .write =
            {
                .banner = nullptr,
                .addrID = 13,
                .addrBR = 14,
                .addrRTU = 29,
                .rtuFirmware = 2,
                .buffers = kBuffers,
                .linesByFirmware = true,
                .readAfterFailedWrite = true,
                .rangeCheck = kRangeCheck,
                .hasOutOfRangeMessage = true,
            },
        .file =
            {
                .headerAddress = family::kDevInfoRegister,
                .addresses = kApplyOrder,  // the whole block in address order
                .linesByFirmware = true,
                .terminator = true,
                .maxLines = 31,
                .maxLinesCountHeader = false,
                .loadedMessage = nullptr,
                .refusalRed = false,
            },
        .dpp = {4, 2},
        .recovery = {.address = 0x1000, .count = 6, .idWord = 0, .brWord = 1, .rtuWord = 5},
        .transactions = {.wait32 = true, .logYNLine = true},
        .startUp = {.groupCallbacks = true, .readBeforeShow = false},
        .remote = {.address = 0x1002, .width = 16},
        .poll = {.addrDP = 2,
                 .addrPV = 0x1002,
                 .pvWidth = 16,
                 .openSensorCode = true,
                 .addrADC = 0x1003,
                 .adcWidth = 16,
                 .adcCount = 2,
                 .adcValueTrace = nullptr,
                 .addrStatus = 0x1006,
                 .statusFirmware = 8,
                 .okBeforeStatus = false,
                 .reopenEvery = 0},
        .calibration = {.steps = kCalSteps,
                        .addrCommand = 0x0A02,
                        .addrReadings = 0x1003,
                        .readingsWidth = 16,
                        .presetAccess = enWram,
                        .polarityOffset = 0},
        .catalogue = ModelACatalogue(),
        .focus = ModelAFocusOrders(),
        .callbacks = kCallbacks,
    };
    return model;
}

}  // namespace conf
