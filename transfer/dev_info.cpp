#include "transfer/dev_info.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include "lang/status_line.h"
#include "lang/window_title.h"
#include "log/event_log.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "params/comm.h"
#include "platform/sys/file_replacement.h"
#include "platform/sys/small_file.h"
#include "session/modbus_api.h"

namespace conf {

namespace {

constexpr int kDevInfoWords = 4;

std::string Printed(const char* format, unsigned value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

int DevInfo2::init(Context& ctx, DevInfoLocator* loc) {
    loc->panel = ctx.gvCFG;
    loc->caption = 0;
    loc->product = ctx.ui.FindCtrl(ctx.gvCFG, "DEVINFO_PRODUCT");
    loc->hardware = ctx.ui.FindCtrl(ctx.gvCFG, "DEVINFO_HW");
    loc->firmware = ctx.ui.FindCtrl(ctx.gvCFG, "DEVINFO_FW");
    loc->serial = ctx.ui.FindCtrl(ctx.gvCFG, "DEVINFO_SN");
    for (int id : {loc->product, loc->hardware, loc->firmware, loc->serial})
        if (id < 0) return id;
    return 0;
}

int DevInfo2::fr_Modbus(Context& ctx, DevInfoWords* words) {
    logi(ctx, "Modbus r Dev Info %d words \n", kDevInfoWords);
    return fn_Modbus_Device_RW_16(ctx, enR, AddressOf(ctx.model, Module::kDevInfo), kDevInfoWords,
                                  *words);
}

void DevInfo2::RAM_dev_to_gui(const DevInfoWords& words, DevInfo* record) {
    // The words arrive sign-extended: take their 16 bits, or a code or serial-number half
    // with its top bit set would spill into the other.
    const auto w0 = static_cast<std::uint16_t>(words[0]);
    record->hw = w0 >> 8;
    record->fw = w0 & 0xFF;
    record->serial = static_cast<std::uint32_t>(static_cast<std::uint16_t>(words[2])) << 16 |
                     static_cast<std::uint16_t>(words[3]);
}

std::string fn_DevInfo_Product_Text(const Model& model, int hw) {
    if (const char* product = ProductOf(model, hw)) return product;
    return Printed("0x%02x", static_cast<unsigned>(hw));
}

std::string fn_DevInfo_Firmware_Text(int fw) {
    return Printed("V%02X", static_cast<unsigned>(fw));
}

std::string fn_DevInfo_Serial_Text(std::uint32_t serial) {
    return Printed("%010u", serial);
}

int DevInfo2::to_GUI(Context& ctx, const DevInfo& record) {
    DevInfoLocator loc;
    int r = DevInfo2::init(ctx, &loc);
    if (r < 0) return r;
    const std::string product = fn_DevInfo_Product_Text(ctx.model, record.hw);
    ctx.ui.SetCtrlVal(loc.panel, loc.product, product);
    ctx.ui.SetCtrlVal(loc.panel, loc.hardware, product);
    ctx.ui.SetCtrlVal(loc.panel, loc.firmware, fn_DevInfo_Firmware_Text(record.fw));
    ctx.ui.SetCtrlVal(loc.panel, loc.serial, fn_DevInfo_Serial_Text(record.serial));
    return 0;
}

bool fn_DevInfo_Own_Model(Context& ctx) {
    return ProductOf(ctx.model, ctx.gvHW) != nullptr;
}

int DevInfo2::diff(Context& ctx) {
    const bool match = fn_DevInfo_Own_Model(ctx);
    if (!match) {
        logs(ctx, "%s\n", "===== HW code not match");
        msg_cfg::SV(ctx, "H/W not match");
        msg_cfg::Color(ctx, kMsgRed);
    }
    // Older firmware has neither register: their controls must not suggest otherwise.
    const int dim = ctx.gvFW < ctx.model.write.rtuFirmware ? 1 : 0;
    Lock_cfg::Toggle_Dim(ctx, dim);
    RTU_cfg::Toggle_Dim(ctx, dim);
    return match ? 0 : -1;
}

int DevInfo2::fr_Modbus_to_GUI(Context& ctx) {
    msg_cfg::SID(ctx, kMsgReading);
    DevInfoWords words{};
    int r = DevInfo2::fr_Modbus(ctx, &words);
    if (r < 0) {
        msg_cfg::SID(ctx, kMsgReadNg);
        ctx.gvHW = kModelUnknown;
        Title::SV(ctx);
        ctx.gr = r;
        return r;
    }
    DevInfo record;
    DevInfo2::RAM_dev_to_gui(words, &record);
    ctx.gvHW = record.hw;
    ctx.gvFW = record.fw;
    Title::SV(ctx);
    DevInfo2::to_GUI(ctx, record);
    ctx.gr = DevInfo2::diff(ctx);
    return ctx.gr;
}

int DevInfo2::to_FILE(Context&, const std::string& path, const DevInfoWords& words) {
    sys::FileReplacement f(path);
    if (!f.opened()) return -1;
    for (std::int16_t w : words)
        if (std::fprintf(f.get(), "%04x\n", static_cast<unsigned>(static_cast<std::uint16_t>(w))) <
            0)
            return -1;
    return f.Commit();
}

int DevInfo2::fr_FILE(Context& ctx, const std::string& path, DevInfoWords* words) {
    int code = 0;
    File f(sys::OpenRegularForReading(path, &code));
    if (!f) {
        ctx.ui.MessagePopup("", "DevInfo 2 : Open file NG " + path);
        return -1;
    }
    DevInfoWords got{};
    for (std::int16_t& w : got) {
        unsigned v = 0;
        // A short or damaged file must not hand on words it does not hold.
        if (std::fscanf(f.get(), "%x", &v) != 1 || v > 0xFFFF) {
            ctx.ui.MessagePopup("", "DevInfo 2 : Read file NG " + path);
            return -1;
        }
        w = static_cast<std::int16_t>(v);
    }
    *words = got;
    return 0;
}

}  // namespace conf
