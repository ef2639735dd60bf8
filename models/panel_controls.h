#pragma once
// Control tables both configurators' panel resources share: the same role names (and, where
// they are the same, registers) in G104 and G105. A model's catalogue takes them from here and
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
inline constexpr int kADDR_LinSig[] = {23, 24, 25, 26, 27, 28};
inline constexpr const char* kLinScale[] = {"SCA_L", "SCA_H"};
inline constexpr const char* kDIR[] = {"DIR_0", "DIR_1"};
inline constexpr const char* kRTS_R[] = {"RTS_R_0", "RTS_R_1", "RTS_R_2"};
inline constexpr int kADDR_RTS[] = {11, 12};
inline constexpr const char* kRTS_V[] = {"RTS_L", "RTS_H"};
inline constexpr const char* kAxFU[] = {"A1FU", "A2FU"};
inline constexpr int kADDR_AxFU[] = {15, 19};
inline constexpr const char* kAxMD[] = {"A1MD", "A2MD"};
inline constexpr int kADDR_AxMD[] = {16, 20};
inline constexpr const char* kAxSP[] = {"A1SP", "A2SP"};
inline constexpr const char* kAxHY[] = {"A1HY", "A2HY"};
inline constexpr const char* kRTS_R_cal[] = {"RTS_R_CAL_0", "RTS_R_CAL_1", "RTS_R_CAL_2"};
inline constexpr int kADDR_RTS_cal[] = {11, 12};
inline constexpr const char* kRTS_V_cal[] = {"RTS_L_CAL", "RTS_H_CAL"};
inline constexpr const char* kARelay[] = {"RELAY_1", "RELAY_2"};
inline constexpr int kADDR_ARelay[] = {0x0A04, 0x0A05};
inline constexpr const char* kSN_V_I[] = {"SN_YY", "SN_MM", "SN_DD", "SN_NO"};
// Linear-signal rows mV, mV, V, V, mA, mA, in hundredths.
inline constexpr RawRange kLinSigBase[] = {{-6000, 6000}, {-6000, 6000}, {-1000, 1000},
                                           {-1000, 1000}, {0, 2400},     {0, 2400}};
inline constexpr RawRange kSN[] = {{0, 42}, {1, 12}, {1, 31}, {0, 9999}};

// A catalogue with every field both models share filled in; a model sets the rest.
ParamCatalogue SharedCatalogue();

}  // namespace conf::panel
