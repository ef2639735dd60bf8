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

// The unit, and the Scan menu that hands back to the scanner.
constexpr Caption kOwnCaptions[] = {
    {CaptionPanel::kConfig, CaptionKind::kLabel, "UNIT", 115},
    {CaptionPanel::kMain, CaptionKind::kMenu, "SCAN", 50300},
    {CaptionPanel::kMain, CaptionKind::kMenu, "START_SCAN", 50301},
};
constexpr std::span<const Caption> kCaptionTables[] = {panel::kCaptions, kOwnCaptions};

}  // namespace

const ParamCatalogue& ModelACatalogue() {
    static const ParamCatalogue catalogue = [] {
        ParamCatalogue c = panel::SharedCatalogue();
        c.ccUNIT = kUNIT;
        c.ccPOLAR = {};
        c.caCC_TYPE = kTYPE;
        c.caCC_ADC_V_M = kADC_V_M;
        c.caCC_IC_B = kIC_B;
        c.caCC_ADC_V_I = kADC_V_I;
        c.caCC_ICSP = kICSP;
        c.aMRng = kMRng;
        c.tempTypes = 10;
        c.firstLinearType = 10;
        c.lastLinearType = 12;
        c.remoteType = 13;
        c.displayRange = kDisplayRange;
        c.otherDigitsWide = false;
        c.ratedIsDisplayRange = false;
        c.offsetRule = ParamCatalogue::OffsetRule::kRatedSpanUpToFw5;
        c.linSigDecimalsByDigit = kLinSigDecimals;
        c.tempUnits = 2;
        c.unitNonTemp = 2;
        c.dpMaxTemp = 1;
        c.dpMaxByDigit = kDpMaxByDigit;
        c.dpCaptions = kDpCaptions;
        c.digitSamples = kDigitSamples;
        c.captions = kCaptionTables;
        return c;
    }();
    return catalogue;
}

}  // namespace conf
