#include "shell/callbacks104.h"

#include "core/bind.h"
#include "link/port_dev.h"
#include "link/uart.h"
#include "params/callbacks_cfg104.h"
#include "shell/g104.h"
#include "shell/group_callbacks.h"
#include "shell/start_scan.h"
#include "shell/tab104.h"
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

void RegisterCallbacks104(Context& ctx, ui::CallbackRegistry& registry) {
    registry.AddPanel("evG104", BindPanel(ctx, evG104));
    registry.AddMenu("evExit", BindMenu(ctx, evExit));
    registry.AddMenu("evAbout", BindMenu(ctx, evAbout));
    registry.AddControl("evTAB104", BindCtrl(ctx, evTAB104));
    registry.AddControl("evForm104", BindCtrl(ctx, evForm104));
    registry.AddControl("ev104UART", BindCtrl(ctx, ev104UART));
    registry.AddControl("RS485_on_off_Tarnel_F", BindCtrl(ctx, RS485_on_off_Tarnel_F));
    registry.AddMenu("ev104_Port", BindMenu(ctx, ev104_Port));

    // Parameter transfer.
    registry.AddControl("ev104Read", BindCtrl(ctx, ev104Read));
    registry.AddMenu("ev104ParaFrDev", BindMenu(ctx, ev104ParaFrDev));
    registry.AddControl("ev104Write", BindCtrl(ctx, ev104Write));
    registry.AddMenu("ev104ParaToDev", BindMenu(ctx, ev104ParaToDev));
    registry.AddMenu("ev104ParaToFile", BindMenu(ctx, ev104ParaToFile));
    registry.AddMenu("ev104ParaFrFile", BindMenu(ctx, ev104ParaFrFile));
    registry.AddMenu("ev104Start", BindMenu(ctx, ev104Start));

    // Production data.
    registry.AddControl("ev104_SN_B", BindCtrl(ctx, ev104_SN_B));
    registry.AddControl("ev104AgentWrite", BindCtrl(ctx, ev104AgentWrite));

    // The parameter editor.
    registry.AddControl("ev104IDcfg", BindCtrl(ctx, ev104IDcfg));
    registry.AddControl("ev104BRcfg", BindCtrl(ctx, ev104BRcfg));
    registry.AddControl("ev104RTUcfg", BindCtrl(ctx, ev104RTUcfg));
    registry.AddControl("ev104Unit", BindCtrl(ctx, ev104Unit));
    registry.AddControl("ev104DecimalPoint", BindCtrl(ctx, ev104DecimalPoint));
    registry.AddControl("ev104Cut", BindCtrl(ctx, ev104Cut));
    registry.AddControl("ev104Filter", BindCtrl(ctx, ev104Filter));
    registry.AddControl("ev104MRng", BindCtrl(ctx, ev104MRng));
    registry.AddControl("ev104PVOFusr", BindCtrl(ctx, ev104PVOFusr));
    registry.AddControl("ev104LinSig", BindCtrl(ctx, ev104LinSig));
    registry.AddControl("ev104LinScale", BindCtrl(ctx, ev104LinScale));
    registry.AddControl("ev104TypeR", BindCtrl(ctx, ev104TypeR));
    registry.AddControl("ev104dirR", BindCtrl(ctx, ev104dirR));
    registry.AddControl("ev104RTS_R_cfg", BindCtrl(ctx, ev104RTS_R_cfg));
    registry.AddControl("ev104RTS_VAL", BindCtrl(ctx, ev104RTS_VAL));
    registry.AddControl("ev104AxFU", BindCtrl(ctx, ev104AxFU));
    registry.AddControl("ev104AxMD", BindCtrl(ctx, ev104AxMD));
    registry.AddControl("ev104AxSP", BindCtrl(ctx, ev104AxSP));
    registry.AddControl("ev104AxHY", BindCtrl(ctx, ev104AxHY));
    registry.AddControl("ev104Lock", BindCtrl(ctx, ev104Lock));
    registry.AddControl("ev104_RSP_W_PV", BindCtrl(ctx, ev104_RSP_W_PV));
    registry.AddControl("ev104Digit_Set", BindCtrl(ctx, ev104Digit_Set));
    registry.AddControl("ev104ALM_Set", BindCtrl(ctx, ev104ALM_Set));
    registry.AddControl("ev104ARelay", BindCtrl(ctx, ev104ARelay));
    registry.AddControl("ev104RTS_R_cal", BindCtrl(ctx, ev104RTS_R_cal));
    registry.AddControl("ev104RTS_VAL_cal", BindCtrl(ctx, ev104RTS_VAL_cal));
    registry.AddControl("ev104_SN_V", BindCtrl(ctx, ev104_SN_V));
    registry.AddControl("ev104DSP_Limit", BindCtrl(ctx, ev104DSP_Limit));
    registry.AddControl("ev104MRng_rat", BindCtrl(ctx, ev104MRng_rat));
    registry.AddControl("ev104PVOF_rat", BindCtrl(ctx, ev104PVOF_rat));

    // Commands of the transfer, monitoring and production issues: so far the Enter step.
    for (const char* name : {"ev104_MSPV_B"})
        registry.AddControl(name, BindCtrl(ctx, fn_Enter_Callback));

    for (const char* name : {"ev104Msg", "ev104DevInfo", "ev104RTS_sync", "ev104ADC_V_M",
                             "ev104ADC_V_I", "ev104_SN_V_Read", "ev104GICNTT", "ev104_MSPV_V",
                             "ev104IDcomm", "ev104BRcomm", "ev104RTUcomm"})
        registry.AddControl(name, BindCtrl(ctx, fn_Ignore));
}

}  // namespace conf
