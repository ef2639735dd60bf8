#include "models/model_b.h"

namespace conf {

namespace {

// Single controls.
constexpr const char* kID[] = {"ID"};
constexpr const char* kBR[] = {"BR"};
constexpr const char* kRTU[] = {"RTU"};
constexpr const char* kDP[] = {"DP"};
constexpr const char* kFILT[] = {"FILT"};
constexpr const char* kCUT[] = {"CUT"};
constexpr const char* kLOCK[] = {"LOCK"};
constexpr const char* kPVOF[] = {"PVOF"};
constexpr const char* kDIGIT[] = {"DIGIT"};
constexpr const char* kALARM_AMOUNT[] = {"ALARM_AMOUNT"};
constexpr const char* kRSP[] = {"RSP"};
constexpr const char* kAGENT_WRITE[] = {"AGENT_WRITE"};
constexpr const char* kGICNT[] = {"GICNT"};
constexpr const char* kMSPV_V[] = {"MSPV_V"};
constexpr const char* kSN_READ[] = {"SN_READ"};
constexpr const char* kPOLAR[] = {"POLAR"};

// Multi-control modules, in selector order. The input types are the three linear signals.
constexpr const char* kTYPE[] = {"TYPE_0", "TYPE_1", "TYPE_2"};
constexpr const char* kDRng[] = {"DRNG_L", "DRNG_H"};
constexpr const char* kMRng_rat[] = {"MRNG_RAT_L", "MRNG_RAT_H"};
constexpr const char* kMRng_usr[] = {"LOLT", "HILT"};
constexpr int kADDR_MRng_usr[] = {0x1001, 0x1002};
constexpr const char* kPVOF_rat[] = {"PVOF_RAT_L", "PVOF_RAT_H"};
constexpr const char* kLinSig[] = {"MV_L", "MV_H", "V_L", "V_H", "MA_L", "MA_H"};
constexpr int kADDR_LinSig[] = {23, 24, 25, 26, 27, 28};
constexpr const char* kLinScale[] = {"SCA_L", "SCA_H"};
constexpr int kADDR_LinScale[] = {0x1003, 0x1004};
constexpr const char* kDIR[] = {"DIR_0", "DIR_1"};
constexpr const char* kRTS_R[] = {"RTS_R_0", "RTS_R_1", "RTS_R_2"};
constexpr int kADDR_RTS[] = {11, 12};
constexpr const char* kRTS_V[] = {"RTS_L", "RTS_H"};
constexpr const char* kAxFU[] = {"A1FU", "A2FU"};
constexpr int kADDR_AxFU[] = {15, 19};
constexpr const char* kAxMD[] = {"A1MD", "A2MD"};
constexpr int kADDR_AxMD[] = {16, 20};
constexpr const char* kAxSP[] = {"A1SP", "A2SP"};
constexpr int kADDR_AxSP[] = {0x1005, 0x1007};
constexpr const char* kAxHY[] = {"A1HY", "A2HY"};
constexpr int kADDR_AxHY[] = {0x1006, 0x1008};
constexpr const char* kRTS_R_cal[] = {"RTS_R_CAL_0", "RTS_R_CAL_1", "RTS_R_CAL_2"};
constexpr int kADDR_RTS_cal[] = {11, 12};
constexpr const char* kRTS_V_cal[] = {"RTS_L_CAL", "RTS_H_CAL"};
// One converter reading.
constexpr const char* kADC_V_M[] = {"ADC_M_0"};
constexpr const char* kIC_B[] = {"IC_B_0", "IC_B_1", "IC_B_2", "IC_B_3", "IC_B_4", "IC_B_5"};
constexpr const char* kARelay[] = {"RELAY_1", "RELAY_2"};
constexpr int kADDR_ARelay[] = {0x0A04, 0x0A05};
constexpr const char* kSN_V_I[] = {"SN_YY", "SN_MM", "SN_DD", "SN_NO"};
constexpr const char* kICSP[] = {"ICSP_0", "ICSP_1", "ICSP_2", "ICSP_3", "ICSP_4", "ICSP_5"};

constexpr RawRange kDisplayRange[] = {{-19999, 99999}, {-199999, 999999}};
// mV, mV, V, V, mA, mA, in hundredths whatever the display.
constexpr RawRange kLinSigBase[] = {{-6000, 6000}, {-6000, 6000}, {-1000, 1000},
                                    {-1000, 1000}, {0, 2400},     {0, 2400}};
constexpr int kLinSigDecimals[] = {2, 2};
constexpr int kDpMaxByDigit[] = {4, 5};
constexpr const char* kDpCaptions0[] = {"00000.", "0000.0", "000.00", "00.000", "0.0000", "----"};
constexpr const char* kDpCaptions1[] = {"000000.", "00000.0", "0000.00",
                                        "000.000", "00.0000", "0.00000"};
constexpr std::span<const char* const> kDpCaptions[] = {kDpCaptions0, kDpCaptions1};
// Every segment lit, five and six digits wide.
constexpr const char* kDigitSamples[] = {"88888", "888888"};
constexpr RawRange kSN[] = {{0, 42}, {1, 12}, {1, 31}, {0, 9999}};

}  // namespace

const ParamCatalogue& ModelBCatalogue() {
    static const ParamCatalogue catalogue{
        .addrCalCommand = 0x0A02,
        .addrPV = 0x1000,
        .addrADC = 0x100A,
        .addrStatusBits = 0x001F,
        .addrDevInfo = 0x1F00,
        .addrSerial = 0x1F02,
        .addrDigit = 0x1F04,
        .addrAlarmAmount = 0x1F05,
        .ccID = kID,
        .ccBR = kBR,
        .ccRTU = kRTU,
        .ccUNIT = {},  // no unit parameter
        .ccDP = kDP,
        .ccFILT = kFILT,
        .ccCUT = kCUT,
        .ccLOCK = kLOCK,
        .ccPVOF = kPVOF,
        .addrTYPE = 0,
        .addrUNIT = -1,
        .addrDP = 2,
        .addrPVOF = 0x1009,
        .addrFILT = 8,
        .addrDIR = 9,
        .addrCUT = 10,
        .addrID = 13,
        .addrBR = 14,
        .addrRTU = 29,
        .addrLOCK = 30,
        .ccDIGIT = kDIGIT,
        .ccALARM_AMOUNT = kALARM_AMOUNT,
        .ccRSP = kRSP,
        .ccAGENT_WRITE = kAGENT_WRITE,
        .ccGICNT = kGICNT,
        .ccMSPV_V = kMSPV_V,
        .ccSN_READ = kSN_READ,
        .ccPOLAR = kPOLAR,
        .caCC_TYPE = kTYPE,
        .caCC_DRng = kDRng,
        .caCC_MRng_rat = kMRng_rat,
        .caCC_MRng_usr = kMRng_usr,
        .caADDR_MRng_usr = kADDR_MRng_usr,
        .caCC_PVOF_rat = kPVOF_rat,
        .caCC_LinSig = kLinSig,
        .caADDR_LinSig = kADDR_LinSig,
        .caCC_LinScale = kLinScale,
        .caADDR_LinScale = kADDR_LinScale,
        .caCC_DIR = kDIR,
        .caCC_RTS_R = kRTS_R,
        .caADDR_RTS = kADDR_RTS,
        .caCC_RTS_V = kRTS_V,
        .caCC_AxFU = kAxFU,
        .caADDR_AxFU = kADDR_AxFU,
        .caCC_AxMD = kAxMD,
        .caADDR_AxMD = kADDR_AxMD,
        .caCC_AxSP = kAxSP,
        .caADDR_AxSP = kADDR_AxSP,
        .caCC_AxHY = kAxHY,
        .caADDR_AxHY = kADDR_AxHY,
        .caCC_RTS_R_cal = kRTS_R_cal,
        .caADDR_RTS_cal = kADDR_RTS_cal,
        .caCC_RTS_V_cal = kRTS_V_cal,
        .caCC_ADC_V_M = kADC_V_M,
        .caCC_IC_B = kIC_B,
        .caCC_ADC_V_I = {},  // one reading per step, not a pair
        .caCC_ARelay = kARelay,
        .caADDR_ARelay = kADDR_ARelay,
        .caCC_SN_V_I = kSN_V_I,
        .caCC_ICSP = kICSP,
        .aMRng = {},  // the rated range is the display range
        .tempTypes = 0,
        .firstLinearType = 0,
        .lastLinearType = 2,
        .remoteType = -1,
        .displayRange = kDisplayRange,
        .otherDigitsWide = true,
        .ratedIsDisplayRange = true,
        .offsetRule = ParamCatalogue::OffsetRule::kDisplaySpanCeil,
        .linSigBase = kLinSigBase,
        .linSigConfine = 66.0,
        .linSigDecimalsByDigit = kLinSigDecimals,
        .tempUnits = 0,
        .unitNonTemp = 0,
        .dpMaxTemp = 0,
        .dpMaxByDigit = kDpMaxByDigit,
        .dpCaptions = kDpCaptions,
        .digitSamples = kDigitSamples,
        .alarms = 2,
        .rngID = {1, 255},
        .rngFILT = {0, 999},
        .rngBR = {0, 3},
        .rngRTU = {0, 3},
        .rngRTS = {0, 32767},
        .rngSN = kSN,
    };
    return catalogue;
}

const FocusOrders& ModelBFocusOrders() {
    static const FocusOrders orders{
        // Configuration page: link settings, input, ranges, linear signals, output, alarms, lock.
        {"ID",    "BR",      "RTU",   "TYPE_0",  "DP",    "CUT",     "FILT", "LOLT",  "HILT",
         "PVOF",  "MV_L",    "MV_H",  "V_L",     "V_H",   "MA_L",    "MA_H", "SCA_L", "SCA_H",
         "DIR_1", "RTS_R_0", "RTS_L", "RTS_R_1", "RTS_H", "RTS_R_2", "A1FU", "A1MD",  "A1SP",
         "A1HY",  "A2FU",    "A2MD",  "A2SP",    "A2HY",  "LOCK"},
        // Main panel.
        {"READ", "WRITE", "MSPV_B", "RSP", "DIGIT", "ALARM_AMOUNT", "AGENT_WRITE", "SCAN_DEV"},
        // Calibration page: polarity, reference fields, step buttons, relays, output
        // calibration, serial number.
        {"POLAR",       "ICSP_0",    "ICSP_1",      "ICSP_2",    "ICSP_3",
         "ICSP_4",      "ICSP_5",    "IC_B_0",      "IC_B_1",    "IC_B_2",
         "IC_B_3",      "IC_B_4",    "IC_B_5",      "RELAY_1",   "RELAY_2",
         "RTS_R_CAL_0", "RTS_L_CAL", "RTS_R_CAL_1", "RTS_H_CAL", "RTS_R_CAL_2",
         "SN_B",        "SN_YY",     "SN_MM",       "SN_DD",     "SN_NO"},
        "ID",
        "IC_B_0",
        "READ",
    };
    return orders;
}

}  // namespace conf
