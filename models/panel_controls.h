#pragma once
// Control tables both configurators' panel resources share: the same role names in G104 and
// G105. A model's catalogue takes them from here and
// adds its own.

#include <span>

#include "models/param_catalogue.h"

namespace conf::panel {

inline constexpr const char* kID[] = {"ID"};
inline constexpr const char* kBR[] = {"BR"};
inline constexpr const char* kRTU[] = {"RTU"};
inline constexpr const char* kDP[] = {"DP"};
inline constexpr const char* kFILT[] = {"FILT"};
inline constexpr const char* kCUT[] = {"CUT"};
inline constexpr const char* kLOCK[] = {"LOCK"};
inline constexpr const char* kPVOF[] = {"PVOF"};
inline constexpr const char* kDIGIT[] = {"DIGIT"};
inline constexpr const char* kALARM_AMOUNT[] = {"ALARM_AMOUNT"};
inline constexpr const char* kRSP[] = {"RSP"};
inline constexpr const char* kAGENT_WRITE[] = {"AGENT_WRITE"};
inline constexpr const char* kGICNT[] = {"GICNT"};
inline constexpr const char* kMSPV_V[] = {"MSPV_V"};
inline constexpr const char* kSN_READ[] = {"SN_READ"};
inline constexpr const char* kDRng[] = {"DRNG_L", "DRNG_H"};
inline constexpr const char* kMRng_rat[] = {"MRNG_RAT_L", "MRNG_RAT_H"};
inline constexpr const char* kMRng_usr[] = {"LOLT", "HILT"};
inline constexpr const char* kPVOF_rat[] = {"PVOF_RAT_L", "PVOF_RAT_H"};
inline constexpr const char* kLinSig[] = {"MV_L", "MV_H", "V_L", "V_H", "MA_L", "MA_H"};
inline constexpr const char* kLinScale[] = {"SCA_L", "SCA_H"};
inline constexpr const char* kDIR[] = {"DIR_0", "DIR_1"};
inline constexpr const char* kRTS_R[] = {"RTS_R_0", "RTS_R_1", "RTS_R_2"};
inline constexpr const char* kRTS_V[] = {"RTS_L", "RTS_H"};
inline constexpr const char* kAxFU[] = {"A1FU", "A2FU"};
inline constexpr const char* kAxMD[] = {"A1MD", "A2MD"};
inline constexpr const char* kAxSP[] = {"A1SP", "A2SP"};
inline constexpr const char* kAxHY[] = {"A1HY", "A2HY"};
inline constexpr const char* kRTS_R_cal[] = {"RTS_R_CAL_0", "RTS_R_CAL_1", "RTS_R_CAL_2"};
inline constexpr const char* kRTS_V_cal[] = {"RTS_L_CAL", "RTS_H_CAL"};
inline constexpr const char* kARelay[] = {"RELAY_1", "RELAY_2"};
inline constexpr const char* kSN_V_I[] = {"SN_YY", "SN_MM", "SN_DD", "SN_NO"};
// Linear-signal rows mV, mV, V, V, mA, mA, in hundredths.
inline constexpr RawRange kLinSigBase[] = {{-6000, 6000}, {-6000, 6000}, {-1000, 1000},
                                           {-1000, 1000}, {0, 2400},     {0, 2400}};
inline constexpr RawRange kSN[] = {{0, 42}, {1, 12}, {1, 31}, {0, 9999}};

// Captions both panels show from the language database, by text id.
inline constexpr Caption kCaptions[] = {
    {CaptionPanel::kMain, CaptionKind::kMenu, "FILE", 50100},
    {CaptionPanel::kMain, CaptionKind::kMenu, "READ_DEV", 111},
    {CaptionPanel::kMain, CaptionKind::kMenu, "WRITE_DEV", 112},
    {CaptionPanel::kMain, CaptionKind::kMenu, "EXIT", 50101},
    {CaptionPanel::kMain, CaptionKind::kLabel, "PV_FRAME", 2303},
    {CaptionPanel::kMain, CaptionKind::kLabel, "DIGIT", 68013},
    {CaptionPanel::kMain, CaptionKind::kLabel, "ALARM_AMOUNT", 68014},
    {CaptionPanel::kMain, CaptionKind::kLabel, "AGENT_WRITE", 68016},
    {CaptionPanel::kConfig, CaptionKind::kPageTitle, nullptr, 101},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "COMM_FRAME", 2201},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "ID", 2202},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "BR", 2203},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "INPUT_FRAME", 121},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "MEAS_FRAME", 151},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DP", 68001},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "FILT", 68002},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "CUT", 68018},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DEVINFO_FRAME", 301},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DEVINFO_PRODUCT", 302},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DEVINFO_HW", 303},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DEVINFO_FW", 304},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "DEVINFO_SN", 305},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "MRNG_FRAME", 68003},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "LOLT", 68004},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "HILT", 68005},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "PVOF_FRAME", 2302},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "LINEAR_FRAME", 68017},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "OUTPUT_FRAME", 122},
    {CaptionPanel::kConfig, CaptionKind::kText, "DIR_TEXT", 2504},
    {CaptionPanel::kConfig, CaptionKind::kText, "RTS_TEXT", 68007},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "ALARM1_FRAME", 68008},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "ALARM2_FRAME", 68009},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A1FU", 68010},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A2FU", 68010},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A1MD", 68015},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A2MD", 68015},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A1SP", 68011},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A2SP", 68011},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A1HY", 68012},
    {CaptionPanel::kConfig, CaptionKind::kLabel, "A2HY", 68012},
    {CaptionPanel::kCalib, CaptionKind::kPageTitle, nullptr, 103},
    {CaptionPanel::kCalib, CaptionKind::kLabel, "IC_FRAME", 123},
    {CaptionPanel::kCalib, CaptionKind::kLabel, "RTS_CAL_FRAME", 124},
    {CaptionPanel::kCalib, CaptionKind::kLabel, "SN_FRAME", 305},
};

// A catalogue with every field both models share filled in; a model sets the rest.
ParamCatalogue SharedCatalogue();

}  // namespace conf::panel
