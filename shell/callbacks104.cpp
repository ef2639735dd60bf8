#include "shell/callbacks104.h"

#include "core/bind.h"
#include "link/port_dev.h"
#include "link/uart.h"
#include "shell/g104.h"
#include "shell/group_callbacks.h"
#include "shell/tab104.h"

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

    // Controls of the Enter-key orders, and the rings whose only job is that step.
    for (const char* name :
         {"ev104IDcfg",   "ev104BRcfg",     "ev104RTUcfg",      "ev104Unit",    "ev104DecimalPoint",
          "ev104Cut",     "ev104Filter",    "ev104MRng",        "ev104PVOFusr", "ev104LinScale",
          "ev104dirR",    "ev104RTS_R_cfg", "ev104RTS_VAL",     "ev104AxFU",    "ev104AxMD",
          "ev104AxSP",    "ev104AxHY",      "ev104Lock",        "ev104Read",    "ev104Write",
          "ev104_MSPV_B", "ev104_RSP_W_PV", "ev104Digit_Set",   "ev104ALM_Set", "ev104AgentWrite",
          "ev104ARelay",  "ev104RTS_R_cal", "ev104RTS_VAL_cal", "ev104_SN_B",   "ev104_SN_V"})
        registry.AddControl(name, BindCtrl(ctx, fn_Enter_Callback));

    for (const char* name :
         {"ev104Msg", "ev104DevInfo", "ev104DSP_Limit", "ev104MRng_rat", "ev104PVOF_rat",
          "ev104RTS_sync", "ev104ADC_V_M", "ev104ADC_V_I", "ev104_SN_V_Read", "ev104GICNTT",
          "ev104_MSPV_V", "ev104IDcomm", "ev104BRcomm", "ev104RTUcomm"})
        registry.AddControl(name, BindCtrl(ctx, fn_Ignore));
}

}  // namespace conf
