#include "models/model_b.h"

#include "models/panel_controls.h"

namespace conf {

namespace {

constexpr const char* kPOLAR[] = {"POLAR"};

// Multi-control modules, in selector order. The input types are the three linear signals.
constexpr const char* kTYPE[] = {"TYPE_0", "TYPE_1", "TYPE_2"};
// One converter reading.
constexpr const char* kADC_V_M[] = {"ADC_M_0"};
constexpr const char* kIC_B[] = {"IC_B_0", "IC_B_1", "IC_B_2", "IC_B_3", "IC_B_4", "IC_B_5"};
// One reading per step: the second indicator is absent.
constexpr CtrlPair kADC_V_I[] = {{"ADC_I_0_A", nullptr}, {"ADC_I_1_A", nullptr},
                                 {"ADC_I_2_A", nullptr}, {"ADC_I_3_A", nullptr},
                                 {"ADC_I_4_A", nullptr}, {"ADC_I_5_A", nullptr}};
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

// The button that hands back to the scanner.
constexpr Caption kOwnCaptions[] = {
    {CaptionPanel::kMain, CaptionKind::kLabel, "SCAN_DEV", 50301},
};
constexpr std::span<const Caption> kCaptionTables[] = {panel::kCaptions, kOwnCaptions};

}  // namespace

const ParamCatalogue& ModelBCatalogue() {
    static const ParamCatalogue catalogue = [] {
        ParamCatalogue c = panel::SharedCatalogue();
        c.ccUNIT = {};  // no unit parameter
        c.ccPOLAR = kPOLAR;
        c.caCC_TYPE = kTYPE;
        c.caCC_ADC_V_M = kADC_V_M;
        c.caCC_IC_B = kIC_B;
        c.caCC_ADC_V_I = kADC_V_I;
        c.caCC_ICSP = kICSP;
        c.aMRng = {};  // the rated range is the display range
        c.tempTypes = 0;
        c.firstLinearType = 0;
        c.lastLinearType = 2;
        c.remoteType = -1;
        c.displayRange = kDisplayRange;
        c.otherDigitsWide = true;
        c.ratedIsDisplayRange = true;
        c.offsetRule = ParamCatalogue::OffsetRule::kDisplaySpanCeil;
        c.linSigDecimalsByDigit = kLinSigDecimals;
        c.tempUnits = 0;
        c.unitNonTemp = 0;
        c.dpMaxTemp = 0;
        c.dpMaxByDigit = kDpMaxByDigit;
        c.dpCaptions = kDpCaptions;
        c.digitSamples = kDigitSamples;
        c.captions = kCaptionTables;
        return c;
    }();
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
