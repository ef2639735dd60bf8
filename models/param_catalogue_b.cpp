#include "models/model_b.h"

#include "models/panel_controls.h"

namespace conf {

namespace {

constexpr const char* kPOLAR[] = {"POLAR"};

// Multi-control modules, in selector order. The input types are the three linear signals.
constexpr const char* kTYPE[] = {"TYPE_0", "TYPE_1", "TYPE_2"};
constexpr int kADDR_MRng_usr[] = {0x1001, 0x1002};
constexpr int kADDR_LinScale[] = {0x1003, 0x1004};
constexpr int kADDR_AxSP[] = {0x1005, 0x1007};
constexpr int kADDR_AxHY[] = {0x1006, 0x1008};
// One converter reading.
constexpr const char* kADC_V_M[] = {"ADC_M_0"};
constexpr const char* kIC_B[] = {"IC_B_0", "IC_B_1", "IC_B_2", "IC_B_3", "IC_B_4", "IC_B_5"};
constexpr const char* kICSP[] = {"ICSP_0", "ICSP_1", "ICSP_2", "ICSP_3", "ICSP_4", "ICSP_5"};

constexpr RawRange kDisplayRange[] = {{-19999, 99999}, {-199999, 999999}};
constexpr int kLinSigDecimals[] = {2, 2};
constexpr int kDpMaxByDigit[] = {4, 5};
constexpr const char* kDpCaptions0[] = {"00000.", "0000.0", "000.00", "00.000", "0.0000", "----"};
constexpr const char* kDpCaptions1[] = {"000000.", "00000.0", "0000.00",
                                        "000.000", "00.0000", "0.00000"};
constexpr std::span<const char* const> kDpCaptions[] = {kDpCaptions0, kDpCaptions1};
// Every segment lit, five and six digits wide.
constexpr const char* kDigitSamples[] = {"88888", "888888"};

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
        .ccID = panel::kID,
        .ccBR = panel::kBR,
        .ccRTU = panel::kRTU,
        .ccUNIT = {},  // no unit parameter
        .ccDP = panel::kDP,
        .ccFILT = panel::kFILT,
        .ccCUT = panel::kCUT,
        .ccLOCK = panel::kLOCK,
        .ccPVOF = panel::kPVOF,
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
        .ccDIGIT = panel::kDIGIT,
        .ccALARM_AMOUNT = panel::kALARM_AMOUNT,
        .ccRSP = panel::kRSP,
        .ccAGENT_WRITE = panel::kAGENT_WRITE,
        .ccGICNT = panel::kGICNT,
        .ccMSPV_V = panel::kMSPV_V,
        .ccSN_READ = panel::kSN_READ,
        .ccPOLAR = kPOLAR,
        .caCC_TYPE = kTYPE,
        .caCC_DRng = panel::kDRng,
        .caCC_MRng_rat = panel::kMRng_rat,
        .caCC_MRng_usr = panel::kMRng_usr,
        .caADDR_MRng_usr = kADDR_MRng_usr,
        .caCC_PVOF_rat = panel::kPVOF_rat,
        .caCC_LinSig = panel::kLinSig,
        .caADDR_LinSig = panel::kADDR_LinSig,
        .caCC_LinScale = panel::kLinScale,
        .caADDR_LinScale = kADDR_LinScale,
        .caCC_DIR = panel::kDIR,
        .caCC_RTS_R = panel::kRTS_R,
        .caADDR_RTS = panel::kADDR_RTS,
        .caCC_RTS_V = panel::kRTS_V,
        .caCC_AxFU = panel::kAxFU,
        .caADDR_AxFU = panel::kADDR_AxFU,
        .caCC_AxMD = panel::kAxMD,
        .caADDR_AxMD = panel::kADDR_AxMD,
        .caCC_AxSP = panel::kAxSP,
        .caADDR_AxSP = kADDR_AxSP,
        .caCC_AxHY = panel::kAxHY,
        .caADDR_AxHY = kADDR_AxHY,
        .caCC_RTS_R_cal = panel::kRTS_R_cal,
        .caADDR_RTS_cal = panel::kADDR_RTS_cal,
        .caCC_RTS_V_cal = panel::kRTS_V_cal,
        .caCC_ADC_V_M = kADC_V_M,
        .caCC_IC_B = kIC_B,
        .caCC_ADC_V_I = {},  // one reading per step, not a pair
        .caCC_ARelay = panel::kARelay,
        .caADDR_ARelay = panel::kADDR_ARelay,
        .caCC_SN_V_I = panel::kSN_V_I,
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
        .linSigBase = panel::kLinSigBase,
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
        .rngSN = panel::kSN,
    };
    return catalogue;
}

const FocusOrders& ModelBFocusOrders() {
    static const FocusOrders orders{
        ConfigPageOrder("TYPE_0"),
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
