#include "models/model_a.h"

#include "models/panel_controls.h"

namespace conf {

namespace {

// Single controls.
constexpr const char* kUNIT[] = {"UNIT"};

// Multi-control modules, in selector order.
constexpr const char* kTYPE[] = {"TYPE_0",  "TYPE_1",  "TYPE_2",  "TYPE_3", "TYPE_4",
                                 "TYPE_5",  "TYPE_6",  "TYPE_7",  "TYPE_8", "TYPE_9",
                                 "TYPE_10", "TYPE_11", "TYPE_12", "TYPE_13"};
constexpr int kADDR_MRng_usr[] = {3, 4};
constexpr int kADDR_LinScale[] = {6, 7};
constexpr int kADDR_AxSP[] = {17, 21};
constexpr int kADDR_AxHY[] = {18, 22};
constexpr const char* kADC_V_M[] = {"ADC_M_0", "ADC_M_1"};
constexpr const char* kIC_B[] = {"IC_B_0", "IC_B_1", "IC_B_2", "IC_B_3", "IC_B_4",
                                 "IC_B_5", "IC_B_6", "IC_B_7", "IC_B_8"};
constexpr CtrlPair kADC_V_I[] = {
    {"ADC_I_0_A", "ADC_I_0_B"}, {"ADC_I_1_A", "ADC_I_1_B"}, {"ADC_I_2_A", "ADC_I_2_B"},
    {"ADC_I_3_A", "ADC_I_3_B"}, {"ADC_I_4_A", "ADC_I_4_B"}, {"ADC_I_5_A", "ADC_I_5_B"},
    {"ADC_I_6_A", "ADC_I_6_B"}, {"ADC_I_7_A", "ADC_I_7_B"}, {"ADC_I_8_A", "ADC_I_8_B"}};
constexpr const char* kICSP[] = {"ICSP_0", "ICSP_1", "ICSP_2", "ICSP_3", "ICSP_4",
                                 "ICSP_5", "ICSP_6", "ICSP_7", "ICSP_8"};

// Rated ranges: thermocouples 0-8, the resistance thermometer 9, mV, V, mA and remote 10-13.
constexpr RawRange kMRng[] = {{-50, 1000},   {-50, 1370},  {-270, 400},   {-50, 700},
                              {0, 1750},     {-50, 1750},  {-50, 1750},   {-50, 1300},
                              {-50, 1800},   {-200, 600},  {-1999, 9999}, {-1999, 9999},
                              {-1999, 9999}, {-1999, 9999}};

constexpr RawRange kDisplayRange[] = {{-199, 999}, {-1999, 9999}};
constexpr int kDpMaxByDigit[] = {2, 3};
constexpr int kLinSigDecimals[] = {1, 2};
constexpr const char* kDpCaptions0[] = {"000.", "00.0", "0.00", "----"};
constexpr const char* kDpCaptions1[] = {"0000.", "000.0", "00.00", "0.000"};
constexpr std::span<const char* const> kDpCaptions[] = {kDpCaptions0, kDpCaptions1};
// Every segment lit, three and four digits wide.
constexpr const char* kDigitSamples[] = {"888", "8888"};

}  // namespace

const ParamCatalogue& ModelACatalogue() {
    static const ParamCatalogue catalogue{
        .addrCalCommand = 0x0A02,
        .addrPV = 0x1002,
        .addrADC = 0x1003,
        .addrStatusBits = 0x1006,
        .addrDevInfo = 0x1F00,
        .addrSerial = 0x1F02,
        .addrDigit = 0x1F04,
        .addrAlarmAmount = 0x1F05,
        .ccID = panel::kID,
        .ccBR = panel::kBR,
        .ccRTU = panel::kRTU,
        .ccUNIT = kUNIT,
        .ccDP = panel::kDP,
        .ccFILT = panel::kFILT,
        .ccCUT = panel::kCUT,
        .ccLOCK = panel::kLOCK,
        .ccPVOF = panel::kPVOF,
        .addrTYPE = 0,
        .addrUNIT = 1,
        .addrDP = 2,
        .addrPVOF = 5,
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
        .ccPOLAR = {},
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
        .caCC_ADC_V_I = kADC_V_I,
        .caCC_ARelay = panel::kARelay,
        .caADDR_ARelay = panel::kADDR_ARelay,
        .caCC_SN_V_I = panel::kSN_V_I,
        .caCC_ICSP = kICSP,
        .aMRng = kMRng,
        .tempTypes = 10,
        .firstLinearType = 10,
        .lastLinearType = 12,
        .remoteType = 13,
        .displayRange = kDisplayRange,
        .otherDigitsWide = false,
        .ratedIsDisplayRange = false,
        .offsetRule = ParamCatalogue::OffsetRule::kRatedSpanUpToFw5,
        .linSigBase = panel::kLinSigBase,
        .linSigConfine = 66.0,
        .linSigDecimalsByDigit = kLinSigDecimals,
        .tempUnits = 2,
        .unitNonTemp = 2,
        .dpMaxTemp = 1,
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

}  // namespace conf
