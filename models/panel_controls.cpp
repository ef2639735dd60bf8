#include "models/panel_controls.h"

namespace conf::panel {

ParamCatalogue SharedCatalogue() {
    ParamCatalogue c{};
    c.ccID = kID;
    c.ccBR = kBR;
    c.ccRTU = kRTU;
    c.ccDP = kDP;
    c.ccFILT = kFILT;
    c.ccCUT = kCUT;
    c.ccLOCK = kLOCK;
    c.ccPVOF = kPVOF;
    c.ccDIGIT = kDIGIT;
    c.ccALARM_AMOUNT = kALARM_AMOUNT;
    c.ccRSP = kRSP;
    c.ccAGENT_WRITE = kAGENT_WRITE;
    c.ccGICNT = kGICNT;
    c.ccMSPV_V = kMSPV_V;
    c.ccSN_READ = kSN_READ;
    c.caCC_DRng = kDRng;
    c.caCC_MRng_rat = kMRng_rat;
    c.caCC_MRng_usr = kMRng_usr;
    c.caCC_PVOF_rat = kPVOF_rat;
    c.caCC_LinSig = kLinSig;
    c.caCC_LinScale = kLinScale;
    c.caCC_DIR = kDIR;
    c.caCC_RTS_R = kRTS_R;
    c.caCC_RTS_V = kRTS_V;
    c.caCC_AxFU = kAxFU;
    c.caCC_AxMD = kAxMD;
    c.caCC_AxSP = kAxSP;
    c.caCC_AxHY = kAxHY;
    c.caCC_RTS_R_cal = kRTS_R_cal;
    c.caCC_RTS_V_cal = kRTS_V_cal;
    c.caCC_ARelay = kARelay;
    c.caCC_SN_V_I = kSN_V_I;
    c.linSigBase = kLinSigBase;
    c.linSigConfine = 66.0;
    c.alarms = 2;
    c.rngID = {1, 255};
    c.rngFILT = {0, 999};
    c.rngBR = {0, 3};
    c.rngRTU = {0, 3};
    c.rngRTS = {0, 32767};
    c.rngSN = kSN;
    return c;
}

}  // namespace conf::panel
