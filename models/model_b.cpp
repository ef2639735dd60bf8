#include "models/model_b.h"

#include "modbus/access_mode.h"
#include "models/family.h"
#include "models/family_registers.h"

namespace conf {

namespace {

constexpr ModelCode kCodes[] = {{105, "Ombrel"}, {107, "Pardine (Ombrel)"}};

using F = FollowUp;
using M = Module;
// The 16-bit block from address 0 (registers 1, 3-7, 17, 18, 21, 22 and 31 are read with it
// and not used), the 32-bit values, one per address from 0x1001, then the registers outside
// the configuration.
constexpr RegisterRecord kRegisters[] = {
    {0, 16, "TYPE", M::kType, 0, F::kInputType},
    {2, 16, "DP", M::kDp, 0, F::kDecimalPoint},
    {8, 16, "FILT", M::kFilt, 0, F::kNone},
    {9, 16, "DIR", M::kDir, 0, F::kNone},
    {10, 16, "CUT", M::kCut, 0, F::kNone},
    {11, 16, "RTS.L", M::kRtsV, 0, F::kBothPages},
    {12, 16, "RTS.H", M::kRtsV, 1, F::kBothPages},
    {13, 16, "ID", M::kId, 0, F::kStation},
    {14, 16, "BR", M::kBr, 0, F::kBaudRate},
    {15, 16, "A1FU", M::kAxFU, 0, F::kNone},
    {16, 16, "A1MD", M::kAxMD, 0, F::kNone},
    {19, 16, "A2FU", M::kAxFU, 1, F::kNone},
    {20, 16, "A2MD", M::kAxMD, 1, F::kNone},
    {23, 16, "mV.L", M::kLinSig, 0, F::kNone},
    {24, 16, "mV.H", M::kLinSig, 1, F::kNone},
    {25, 16, "V.L", M::kLinSig, 2, F::kNone},
    {26, 16, "V.H", M::kLinSig, 3, F::kNone},
    {27, 16, "mA.L", M::kLinSig, 4, F::kNone},
    {28, 16, "mA.H", M::kLinSig, 5, F::kNone},
    {29, 16, "RTU", M::kRtu, 0, F::kFrameFormat},
    {30, 16, "LOCK", M::kLock, 0, F::kNone},
    {0x1001, 32, "LOLT", M::kMRngUsr, 0, F::kNone},
    {0x1002, 32, "HILT", M::kMRngUsr, 1, F::kNone},
    {0x1003, 32, "SCA.L", M::kLinScale, 0, F::kNone},
    {0x1004, 32, "SCA.H", M::kLinScale, 1, F::kNone},
    {0x1005, 32, "A1SP", M::kAxSP, 0, F::kNone},
    {0x1006, 32, "A1HY", M::kAxHY, 0, F::kNone},
    {0x1007, 32, "A2SP", M::kAxSP, 1, F::kNone},
    {0x1008, 32, "A2HY", M::kAxHY, 1, F::kNone},
    {0x1009, 32, "PVOF", M::kPvofUsr, 0, F::kNone},
    {0x001F, 16, "STATUS", M::kStatus, 0, F::kNone},
    {0x0020, 16, "RS485", M::kRs485, 0, F::kNone},
    {0x0A02, 16, "CAL", M::kCalCommand, 0, F::kNone},
    {0x0A04, 16, "RELAY1", M::kRelay, 0, F::kNone},
    {0x0A05, 16, "RELAY2", M::kRelay, 1, F::kNone},
    {0x0A08, 16, "POLAR", M::kPolarity, 0, F::kNone},
    {0x1000, 32, "PV", M::kProcessValue, 0, F::kNone},
    {0x100A, 32, "ADC", M::kConverter, 0, F::kNone},
    {0x100C, 16, "ID_B", M::kLinkCopy, 0, F::kNone},
    {0x100D, 16, "BR_B", M::kLinkCopy, 1, F::kNone},
    {0x100E, 16, "RTU_B", M::kLinkCopy, 2, F::kNone},
};
// Then the family's device information, serial number, display digits and alarm amount.
constexpr auto kAllRegisters = family::WithDevInfo(kRegisters);

// Type and decimal point first: they decide the ranges and precision of the rest.
constexpr int kApplyOrder[] = {0,  2,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                               19, 20, 23, 24, 25, 26, 27, 28, 29, 30};

constexpr BufferLine kLines16[] = {
    {0, "TYPE", enWram},  {2, "DP", enWram},    {8, "FILT", enWram},  {9, "DIR", enWram},
    {10, "CUT", enWram},  {15, "A1FU", enWram}, {19, "A2FU", enWram}, {16, "A1MD", enWram},
    {20, "A2MD", enWram}, {23, "mV.L", enWram}, {24, "mV.H", enWram}, {25, "V.L", enWram},
    {26, "V.H", enWram},  {27, "mA.L", enWram}, {28, "mA.H", enWram}, {30, "LOCK", enWee},
};
constexpr BufferLine kLines32[] = {
    {0x1001, "LOLT", enWmw}, {0x1002, "HILT", enWmw}, {0x1003, "SCAL", enWmw},
    {0x1004, "SCAH", enWmw}, {0x1005, "A1SP", enWmw}, {0x1007, "A2SP", enWmw},
    {0x1006, "A1HY", enWmw}, {0x1008, "A2HY", enWmw}, {0x1009, "PVOF", enWmw},
};
constexpr BufferFile kBuffers[] = {
    {"W_para_buff_16.txt", 16, kLines16, "Modbus w 16-bit Parameter to Dev \n"},
    {"W_para_buff_32.txt", 32, kLines32, "Modbus w 32-bit Parameter to Dev \n"},
};

// No unit and no offset check.
constexpr RangeCheckEntry kRangeCheck[] = {
    {M::kDp, 1},   {M::kFilt, 1}, {M::kId, 1},       {M::kLinSig, 6},
    {M::kAxSP, 2}, {M::kAxHY, 2}, {M::kLinScale, 2}, {M::kMRngUsr, 2},
};

// The 16-bit parameters, then the 32-bit block in its order.
constexpr int kFileLines[] = {
    0,  2,  8,  9,  10, 11, 12,     13,     14,     15,     16,     19,     20,     23,     24,
    25, 26, 27, 28, 29, 30, 0x1001, 0x1002, 0x1003, 0x1004, 0x1005, 0x1006, 0x1007, 0x1008, 0x1009};

// Millivolts, volts, milliamperes: the first point of each kind sets the input type.
constexpr CalStep kCalSteps[] = {
    {"mV.L", 0, -1, 4, enWram}, {"mV.H", -1, -1, 5, enWee}, {"V.L", 1, -1, 6, enWram},
    {"V.H", -1, -1, 7, enWee},  {"mA.L", 2, -1, 8, enWram}, {"mA.H", -1, -1, 9, enWee},
};

constexpr CallbackName kCallbacks[] = {
    {"evG105", "evMain"},
    {"evExit", "evExit"},
    {"evAbout", "evAbout"},
    {"evTAB105", "evTAB"},
    {"evForm", "evForm"},
    {"evUART", "evUART"},
    {"RS485_on_off_Ombrel_F", "RS485_on_off"},
    {"ev105_Port", "ev_Port"},
    {"evParaFrDev", "evRead"},
    {"evParaFrDev", "evParaFrDev"},
    {"evParaToDev", "evWrite"},
    {"evParaToDev", "evParaToDev"},
    {"evParaToFile", "evParaToFile"},
    {"evParaFrFile", "evParaFrFile"},
    {"ev105_SN_B", "ev_SN_B"},
    {"ev105AgentWrite", "evAgentWrite"},
    {"ev105IDcfg", "evIDcfg"},
    {"ev105BRcfg", "evBRcfg"},
    {"ev105RTUcfg", "evRTUcfg"},
    {"ev105DecimalPoint", "evDecimalPoint"},
    {"ev105Cut", "evCut"},
    {"ev105Filter", "evFilter"},
    {"ev105MRng", "evMRng"},
    {"ev105PVOFusr", "evPVOFusr"},
    {"ev105LinSig", "evLinSig"},
    {"ev105LinScale", "evLinScale"},
    {"evTypeR", "evTypeR"},
    {"evdirR", "evdirR"},
    {"evRTS_R_cfg", "evRTS_R_cfg"},
    {"evRTS_VAL", "evRTS_VAL"},
    {"ev105AxFU", "evAxFU"},
    {"ev105AxMD", "evAxMD"},
    {"ev105AxSP", "evAxSP"},
    {"ev105AxHY", "evAxHY"},
    {"ev105Lock", "evLock"},
    {"ev105_RSP_W_PV", "ev_RSP_W_PV"},
    {"ev105Digit_Set", "evDigit_Set"},
    {"ev105ALM_Set", "evALM_Set"},
    {"ev105ARelay", "evARelay"},
    {"evRTS_R_cal", "evRTS_R_cal"},
    {"evRTS_VAL_cal", "evRTS_VAL_cal"},
    {"ev105_SN_V", "ev_SN_V"},
    {"evDSP_Limit", "evDSP_Limit"},
    {"ev105MRng_rat", "evMRng_rat"},
    {"ev105PVOF_rat", "evPVOF_rat"},
    {"ev105_MSPV_B", "ev_MSPV_B"},
    {"ev105_MSPV_T", "ev_MSPV_T"},
    {"evReadPV", "evReadPV"},
    {"Enable_Ombrel_PV_logs_F", "Enable_PV_logs_F"},
    {"Open_Ombrel_PV_logs_F", "Open_PV_logs_F"},
    {"evTrend", "evTrend"},
    {"evTrendPanel", "evTrendPanel"},
    {"evMsg", "fn_Ignore"},
    {"evDevInfo", "fn_Ignore"},
    {"evADC_V_M", "fn_Ignore"},
    {"evADC_V_I", "fn_Ignore"},
    {"ev105_SN_V_Read", "fn_Ignore"},
    {"ev105GICNTT", "fn_Ignore"},
    {"ev105_MSPV_V", "fn_Ignore"},
    {"ev105IDcomm", "fn_Ignore"},
    {"ev105BRcomm", "fn_Ignore"},
    {"ev105RTUcomm", "fn_Ignore"},
    {"evScanDev", "evScanDev"},
    {"evPOLAR", "evPOLAR"},
    {"evIC", "evIC"},
    {"ev105_ADC_T", "ev_ADC_T"},
    {"ev105ICSP", "fn_Enter_Callback"},
};

}  // namespace

const Model& ModelB() {
    static const Model model{
        .id =
            {
                .programNumber = 105,
                .programName = "Ombrel",
                .codes = kCodes,
                .panelResource = "../gui/G105.json",
                .panelName = "G105",
                .aboutCaption = "Ver.2013-05-28-A",
                .paramFileNameFormat = "%04d%02d%02d_%02d%02d%02d_Ombrel.txt",
                .pvRecordNameFormat = "Ombrel_PV_%04d-%02d-%02d_%02d.txt",
                .pvRecordWriter = "Ombrel_PV_Record",
                .addrRS485 = 0x0020,
            },
        .registers = kAllRegisters,
        .read =
            {
                .serialFirst = true,
                .addrPolarity = 0x0A08,
                .block16Address = 0,
                .blockLengthFw1 = 31,  // always 31, whatever the firmware
                .blockLength = 31,
                .fullBlockFirmware = 0,
                .applyOrder = kApplyOrder,
                .block32Address = 0x1001,
                .block32Count = 9,
                .blockLogLine = "Modbus r 16-bit Parameter of Dev %d words \n",
            },
        .write =
            {
                .banner = "=================Write Parameter=================",
                .addrID = 13,
                .addrBR = 14,
                .addrRTU = 29,
                .rtuFirmware = 0,
                .buffers = kBuffers,
                .linesByFirmware = false,
                .readAfterFailedWrite = false,
                .rangeCheck = kRangeCheck,
                .hasOutOfRangeMessage = false,
            },
        .file =
            {
                .headerAddress = family::kDevInfoRegister,
                .addresses = kFileLines,
                .linesByFirmware = false,
                .terminator = false,
                .maxLines = 31,
                .maxLinesCountHeader = true,
                .loadedMessage = "Parameter load OK",
                .refusalRed = true,
            },
        // Four bits (0-5), above the member fields.
        .dpp = {22, 4},
        .recovery = {.address = 0x100C, .count = 3, .idWord = 0, .brWord = 1, .rtuWord = 2},
        .transactions = {.wait32 = false, .logYNLine = false},
        .startUp = {.groupCallbacks = false, .readBeforeShow = true},
        .remote = {.address = 0x1000, .width = 32},
        .poll = {.addrDP = 2,
                 .addrPV = 0x1000,
                 .pvWidth = 32,
                 .openSensorCode = false,
                 .addrADC = 0x100A,
                 .adcWidth = 32,
                 .adcCount = 1,
                 .adcValueTrace = "A0 = %d \n",
                 .addrStatus = 0x001F,
                 .statusFirmware = 3,
                 .okBeforeStatus = true,
                 .reopenEvery = 20},
        // The second set of codes (10 + step) when the polarity ring shows 1.
        .calibration = {.steps = kCalSteps,
                        .addrCommand = 0x0A02,
                        .addrReadings = 0x100A,
                        .readingsWidth = 32,
                        .presetAccess = enWee,
                        .polarityOffset = 6},
        .catalogue = ModelBCatalogue(),
        .focus = ModelBFocusOrders(),
        .callbacks = kCallbacks,
    };
    return model;
}

}  // namespace conf
