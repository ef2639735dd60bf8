#include "shell/callbacks.h"

#include "core/bind.h"
#include "link/port_dev.h"
#include "link/uart.h"
#include "nav/tab.h"
#include "params/callbacks_cfg.h"
#include "shell/group_callbacks.h"
#include "shell/main_panel.h"
#include "shell/start_scan.h"
#include "transfer/agent_write.h"
#include "transfer/param_file.h"
#include "transfer/read_all.h"
#include "transfer/serial_write.h"
#include "transfer/write_all.h"

namespace conf {

namespace {

// Indicators and controls whose events mean nothing to the program.
int fn_Ignore(Context&, int, int, int, void*, int, int) {
    return 0;
}

}  // namespace

void RegisterCallbacks(Context& ctx, ui::CallbackRegistry& registry) {
    registry.AddPanel("evG104", BindPanel(ctx, evMain));
    registry.AddMenu("evExit", BindMenu(ctx, evExit));
    registry.AddMenu("evAbout", BindMenu(ctx, evAbout));
    registry.AddControl("evTAB104", BindCtrl(ctx, evTAB));
    registry.AddControl("evForm104", BindCtrl(ctx, evForm));
    registry.AddControl("ev104UART", BindCtrl(ctx, evUART));
    registry.AddControl("RS485_on_off_Tarnel_F", BindCtrl(ctx, RS485_on_off_Tarnel_F));
    registry.AddMenu("ev104_Port", BindMenu(ctx, ev_Port));

    // Parameter transfer.
    registry.AddControl("ev104Read", BindCtrl(ctx, evRead));
    registry.AddMenu("ev104ParaFrDev", BindMenu(ctx, evParaFrDev));
    registry.AddControl("ev104Write", BindCtrl(ctx, evWrite));
    registry.AddMenu("ev104ParaToDev", BindMenu(ctx, evParaToDev));
    registry.AddMenu("ev104ParaToFile", BindMenu(ctx, evParaToFile));
    registry.AddMenu("ev104ParaFrFile", BindMenu(ctx, evParaFrFile));
    registry.AddMenu("ev104Start", BindMenu(ctx, evStart));

    // Production data.
    registry.AddControl("ev104_SN_B", BindCtrl(ctx, ev_SN_B));
    registry.AddControl("ev104AgentWrite", BindCtrl(ctx, evAgentWrite));

    // The parameter editor.
    registry.AddControl("ev104IDcfg", BindCtrl(ctx, evIDcfg));
    registry.AddControl("ev104BRcfg", BindCtrl(ctx, evBRcfg));
    registry.AddControl("ev104RTUcfg", BindCtrl(ctx, evRTUcfg));
    registry.AddControl("ev104Unit", BindCtrl(ctx, evUnit));
    registry.AddControl("ev104DecimalPoint", BindCtrl(ctx, evDecimalPoint));
    registry.AddControl("ev104Cut", BindCtrl(ctx, evCut));
    registry.AddControl("ev104Filter", BindCtrl(ctx, evFilter));
    registry.AddControl("ev104MRng", BindCtrl(ctx, evMRng));
    registry.AddControl("ev104PVOFusr", BindCtrl(ctx, evPVOFusr));
    registry.AddControl("ev104LinSig", BindCtrl(ctx, evLinSig));
    registry.AddControl("ev104LinScale", BindCtrl(ctx, evLinScale));
    registry.AddControl("ev104TypeR", BindCtrl(ctx, evTypeR));
    registry.AddControl("ev104dirR", BindCtrl(ctx, evdirR));
    registry.AddControl("ev104RTS_R_cfg", BindCtrl(ctx, evRTS_R_cfg));
    registry.AddControl("ev104RTS_VAL", BindCtrl(ctx, evRTS_VAL));
    registry.AddControl("ev104AxFU", BindCtrl(ctx, evAxFU));
    registry.AddControl("ev104AxMD", BindCtrl(ctx, evAxMD));
    registry.AddControl("ev104AxSP", BindCtrl(ctx, evAxSP));
    registry.AddControl("ev104AxHY", BindCtrl(ctx, evAxHY));
    registry.AddControl("ev104Lock", BindCtrl(ctx, evLock));
    registry.AddControl("ev104_RSP_W_PV", BindCtrl(ctx, ev_RSP_W_PV));
    registry.AddControl("ev104Digit_Set", BindCtrl(ctx, evDigit_Set));
    registry.AddControl("ev104ALM_Set", BindCtrl(ctx, evALM_Set));
    registry.AddControl("ev104ARelay", BindCtrl(ctx, evARelay));
    registry.AddControl("ev104RTS_R_cal", BindCtrl(ctx, evRTS_R_cal));
    registry.AddControl("ev104RTS_VAL_cal", BindCtrl(ctx, evRTS_VAL_cal));
    registry.AddControl("ev104_SN_V", BindCtrl(ctx, ev_SN_V));
    registry.AddControl("ev104DSP_Limit", BindCtrl(ctx, evDSP_Limit));
    registry.AddControl("ev104MRng_rat", BindCtrl(ctx, evMRng_rat));
    registry.AddControl("ev104PVOF_rat", BindCtrl(ctx, evPVOF_rat));

    // Commands of the transfer, monitoring and production issues: so far the Enter step.
    for (const char* name : {"ev104_MSPV_B"})
        registry.AddControl(name, BindCtrl(ctx, fn_Enter_Callback));

    for (const char* name : {"ev104Msg", "ev104DevInfo", "ev104RTS_sync", "ev104ADC_V_M",
                             "ev104ADC_V_I", "ev104_SN_V_Read", "ev104GICNTT", "ev104_MSPV_V",
                             "ev104IDcomm", "ev104BRcomm", "ev104RTUcomm"})
        registry.AddControl(name, BindCtrl(ctx, fn_Ignore));
}

}  // namespace conf
