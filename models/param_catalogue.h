#pragma once
// One instrument model's parameter tables as the parameter editor uses them: the controls of
// each parameter module by role name in the order of the module's selector field (caCC_; the
// register of each member is in the model's register map), the rated ranges of the input
// types and the fixed ranges and captions. A model fills one of these; the modules read it.

#include <span>

namespace conf {

using CtrlNames = std::span<const char* const>;

// Where a text of the language database shows: on which panel, in what, and by role name (the
// menu or menu item's name for kMenu; unused for kPageTitle).
enum class CaptionPanel { kMain, kConfig, kCalib };
enum class CaptionKind {
    kLabel,      // the control's label
    kText,       // the value of a text message
    kPageTitle,  // the tab caption of the page
    kMenu,       // a menu or menu item of the main panel's menu bar
};
struct Caption {
    CaptionPanel panel;
    CaptionKind kind;
    const char* name;
    int textId;
};

// A raw integer range, both ends inclusive.
struct RawRange {
    int low;
    int high;
};

// The two indicators of one input-calibration step (second nullptr: the step has one).
struct CtrlPair {
    const char* first;
    const char* second;
};

struct ParamCatalogue {
    // --- Single-control modules: one-entry control tables --------------------------------
    CtrlNames ccID, ccBR, ccRTU, ccUNIT, ccDP, ccFILT, ccCUT, ccLOCK, ccPVOF;
    // Main panel.
    CtrlNames ccDIGIT, ccALARM_AMOUNT, ccRSP, ccAGENT_WRITE, ccGICNT, ccMSPV_V;
    // Calibration page; ccPOLAR is empty for a model without the polarity setting.
    CtrlNames ccSN_READ, ccPOLAR;

    // --- Multi-control modules, in selector order -----------------------------------------
    CtrlNames caCC_TYPE;
    CtrlNames caCC_DRng;  // display range low, high
    CtrlNames caCC_MRng_rat;
    CtrlNames caCC_MRng_usr;
    CtrlNames caCC_PVOF_rat;
    CtrlNames caCC_LinSig;
    CtrlNames caCC_LinScale;
    CtrlNames caCC_DIR;
    CtrlNames caCC_RTS_R;
    CtrlNames caCC_RTS_V;
    CtrlNames caCC_AxFU;
    CtrlNames caCC_AxMD;
    CtrlNames caCC_AxSP;
    CtrlNames caCC_AxHY;
    CtrlNames caCC_RTS_R_cal;
    CtrlNames caCC_RTS_V_cal;
    CtrlNames caCC_ADC_V_M;
    CtrlNames caCC_IC_B;
    std::span<const CtrlPair> caCC_ADC_V_I;
    CtrlNames caCC_ARelay;
    CtrlNames caCC_SN_V_I;
    CtrlNames caCC_ICSP;

    // --- Input types ----------------------------------------------------------------------
    // Rated range of each input type (low, high); degrees Celsius for the temperature types.
    std::span<const RawRange> aMRng;
    int tempTypes;        // types 0 .. tempTypes-1 are temperature types
    int firstLinearType;  // the linear-signal types, each enabling two linear-signal rows
    int lastLinearType;
    int remoteType;  // the input type whose value the configurator writes; -1: any type

    // --- Fixed ranges and captions ----------------------------------------------------------
    // Display range by display-digit setting.
    std::span<const RawRange> displayRange;
    // A digit setting beyond the table: the widest display (true) or nothing (false).
    bool otherDigitsWide;
    // The rated measuring range is the display range, whatever the input type.
    bool ratedIsDisplayRange;
    // How the offset range is made.
    enum class OffsetRule {
        kRatedSpanUpToFw5,  // 5 % of the rated span either side, rounded down, up to firmware
                            // version 5; the display range from version 6 on
        kDisplaySpanCeil,   // 5 % of the display span either side, rounded up
    } offsetRule;
    // Base range of each linear-signal row, in hundredths of the signal unit.
    std::span<const RawRange> linSigBase;
    // What a linear-signal entry is confined to before it is converted (signal units).
    double linSigConfine;
    // Decimals of the linear-signal rows by display-digit setting (0 beyond the table). A row
    // with one decimal holds tenths, its base range divided by 10.
    std::span<const int> linSigDecimalsByDigit;
    // Units: the temperature units are 0 .. tempUnits-1; the other types use unitNonTemp. A model
    // without the unit parameter has no ccUNIT control.
    int tempUnits;
    int unitNonTemp;
    // Decimal points: temperature types allow 0 .. dpMaxTemp; the others 0 .. dpMaxByDigit[d].
    int dpMaxTemp;
    std::span<const int> dpMaxByDigit;
    // Decimal-point ring captions by display-digit setting, one per decimal point.
    std::span<const std::span<const char* const>> dpCaptions;
    // Sample texts of the process-value display, by display-digit setting.
    std::span<const char* const> digitSamples;
    int alarms;  // alarms an instrument can have
    RawRange rngID, rngFILT, rngBR, rngRTU, rngRTS;
    std::span<const RawRange> rngSN;  // year, month, day, running number

    // --- Captions in the chosen language ------------------------------------------------------
    // The tables of captions set from the language database: the shared one, then the model's.
    std::span<const std::span<const Caption>> captions;
};

}  // namespace conf
