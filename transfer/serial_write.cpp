#include "transfer/serial_write.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "core/selector.h"
#include "lang/status_line.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/service.h"
#include "platform/sys/datetime.h"
#include "platform/ui/constants.h"
#include "session/modbus_api.h"
#include "transfer/dev_info.h"
#include "transfer/serial_read.h"

namespace conf {

namespace {

constexpr int kFieldNumber = 3;  // the running number; 0-2 are year, month, day

// "MM-DD-YYYY", the platform's date text, digits where digits belong.
bool IsDateText(const std::string& s) {
    if (s.size() != 10 || s[2] != '-' || s[5] != '-') return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (i != 2 && i != 5 && (s[i] < '0' || s[i] > '9')) return false;
    return true;
}

int Digits(const std::string& text, std::size_t at, std::size_t count) {
    int value = 0;
    std::from_chars(text.data() + at, text.data() + at + count, value);
    return value;
}

int SetSnField(Context& ctx, int field, int value) {
    SetField(ctx.gsRAM01, kSelSN, field);
    return SN_V_I::SV(ctx, value);
}

}  // namespace

std::string fn_Get_Date_YYYYMMDD_str(Context& ctx) {
    const sys::DateTime now = ctx.clock().LocalNow();
    const std::string date = sys::DateStr(now);
    if (IsDateText(date)) return date.substr(6, 4) + date.substr(0, 2) + date.substr(3, 2);
    // A year the text cannot hold in four digits: still eight digits, never a longer text.
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", std::clamp(now.year, 0, 9999),
                  std::clamp(now.month, 1, 12), std::clamp(now.day, 1, 31));
    return text;
}

int SN_V_I::Today_init(Context& ctx) {
    const std::string d = fn_Get_Date_YYYYMMDD_str(ctx);
    // Year (its last two digits), month, day, running number.
    const int values[] = {Digits(d, 2, 2), Digits(d, 4, 2), Digits(d, 6, 2), 1};
    int result = 0;
    for (int field = 0; field < 4; ++field) {
        const int r = SetSnField(ctx, field, values[field]);
        if (r < 0 && result == 0) result = r;
    }
    return result;
}

int SN_V_V::to_Modbus(Context& ctx) {
    const int oor = SN_V_V::OOR(ctx);
    if (oor < 0) return oor;
    const std::uint32_t v = SN_V_V::GV(ctx);
    const int high = static_cast<int>(v >> 16);
    const int low = static_cast<int>(v & 0xFFFF);
    const int addrHigh = AddressOf(ctx.model, Module::kSerial, 0);
    const int addrLow = AddressOf(ctx.model, Module::kSerial, 1);

    msg_cfg::SID(ctx, kMsgWriting);
    logi(ctx, "Modbus w SN.H = %d\n", high);
    int r = fn_Modbus_Device_RW_16(ctx, enWram, addrHigh, high);
    if (r >= 0) {
        logi(ctx, "Modbus w SN.L = %d\n", low);
        // The EEPROM write of the low word stores the high word written before it as well.
        r = fn_Modbus_Device_RW_16(ctx, enWee, addrLow, low);
    }
    if (r < 0) {
        // The instrument may now hold the new high word with its old low word.
        msg_cfg::SID(ctx, kMsgWriteNg);
        return r;
    }
    msg_cfg::SID(ctx, kMsgWriteOk);
    // Ready for the next instrument; the number cannot go past 9999.
    SetField(ctx.gsRAM01, kSelSN, kFieldNumber);
    SN_V_I::SV(ctx, SN_V_I::GV(ctx) + 1);
    SN_V_I::OOR(ctx);
    SN_V_I::Limit(ctx);
    return 0;
}

int ev_SN_B(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event != ui::EVENT_COMMIT) return fn_Enter_to_Next(ctx, panel, control, event, data1);
    int r = DevInfo2::fr_Modbus_to_GUI(ctx);
    if (r < 0) return r;
    r = SN_V_V::to_Modbus(ctx);
    if (r < 0) return r;
    return SN_V_Read::fr_Modbus(ctx);
}

}  // namespace conf
