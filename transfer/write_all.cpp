#include "transfer/write_all.h"

#include <cstdio>
#include <memory>
#include <string>

#include "lang/status_line.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "modbus/access_mode.h"
#include "models/model.h"
#include "nav/focus.h"
#include "params/comm.h"
#include "params/main_panel.h"
#include "platform/sys/file_replacement.h"
#include "platform/sys/small_file.h"
#include "platform/ui/constants.h"
#include "session/link_controls.h"
#include "session/modbus_api.h"
#include "session/port_dev.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/read_all.h"

namespace conf {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Where the buffer file is reported when it cannot be created or read back, and when it was
// created but did not take the list.
constexpr int kBufferFileSite = 1232969;
constexpr int kBufferWriteSite = 1232977;

// Results of writing the buffer file besides 0.
constexpr int kBufferNotCreated = -1;
constexpr int kBufferNotWritten = -2;

int WriteRegister(Context& ctx, int code, int address, int value) {
    return fn_Modbus_Device_RW_16(ctx, code, address, value);
}

int WriteNg(Context& ctx, int r) {
    msg_cfg::SID(ctx, kMsgWriteNg);
    return r;
}

// Station number, baud rate and (from the model's firmware version on) frame format, each
// followed by the link's own setting so the next request reaches the instrument as it now is.
int WriteLinkSettings(Context& ctx) {
    const WritePlan& plan = ctx.model.write;
    const int id = ID_cfg::GV(ctx);
    logi(ctx, "Modbus w ID = %d \n", id);
    if (int r = WriteRegister(ctx, enWram, plan.addrID, id); r < 0) return WriteNg(ctx, r);
    ID_comm::SV(ctx, id);
    giCNTt::giCNT_inc(ctx);

    // The instrument answers at the old speed and switches after the answer.
    const int br = BR_cfg::GI(ctx);
    logi(ctx, "Modbus w BR = %d \n", br);
    if (int r = WriteRegister(ctx, enWram, plan.addrBR, br); r < 0) return WriteNg(ctx, r);
    BR_comm::SI(ctx, br);
    giCNTt::giCNT_inc(ctx);
    if (int r = mf_Port_Dev__Reopen_after_BR_RTU_change(ctx); r < 0) return WriteNg(ctx, r);

    if (ctx.gvFW < plan.rtuFirmware) return 0;
    const int rtu = RTU_cfg::GI(ctx);
    logi(ctx, "Modbus w RTU = %d \n", rtu);
    if (int r = WriteRegister(ctx, enWram, plan.addrRTU, rtu); r < 0) return WriteNg(ctx, r);
    RTU_comm::SI(ctx, rtu);
    giCNTt::giCNT_inc(ctx);
    if (int r = mf_Port_Dev__Reopen_after_BR_RTU_change(ctx); r < 0) return WriteNg(ctx, r);
    return 0;
}

bool LineInPlan(Context& ctx, const BufferFile& buffer, const BufferLine& line) {
    return !(ctx.model.write.linesByFirmware && buffer.width == 16 &&
             line.address >= ctx.model.read.block16Address + fn_Para_Block_Length(ctx, ctx.gvFW));
}

// The list as the pages hold it now. 0, kBufferNotCreated, or kBufferNotWritten when the file
// was created but did not take the list whole (a full disk): a short list is never replayed,
// and the list of the previous write stays as it was. The open never waits on a FIFO.
int WriteBuffer(Context& ctx, const BufferFile& buffer) {
    sys::FileReplacement f(buffer.fileName);
    if (!f.opened()) return kBufferNotCreated;
    for (const BufferLine& line : buffer.lines) {
        if (!LineInPlan(ctx, buffer, line)) continue;
        const int value = fn_Para_Block_Value(ctx, line.address);
        if (fn_W_Para_Buffer(f.get(), line.address, value, line.name) < 0) return kBufferNotWritten;
    }
    return f.Commit() == 0 ? 0 : kBufferNotWritten;
}

// The access code a line goes out with: the plan's for its address.
int CodeOf(const BufferFile& buffer, unsigned address) {
    for (const BufferLine& line : buffer.lines)
        if (static_cast<unsigned>(line.address) == address) return line.code;
    return buffer.width == 32 ? enWmw : enWram;
}

// The next line of a buffer file without its line end: 1, 0 at the end of the file, -1 on a
// read error or a line far longer than any the list writes.
int ReadBufferLine(std::FILE* f, std::string* text) {
    constexpr std::size_t kLongestLine = 256;
    text->clear();
    for (;;) {
        const int c = std::fgetc(f);
        if (c == EOF) return std::ferror(f) ? -1 : (text->empty() ? 0 : 1);
        if (c == '\n') return 1;
        if (text->size() == kLongestLine) return -1;
        text->push_back(static_cast<char>(c));
    }
}

bool IsBlankLine(const std::string& text) {
    return text.find_first_not_of(" \t\r\f\v") == std::string::npos;
}

// Replays the list line by line. 0, or the negative result of the failing write ("Write
// NG"); a line that does not read back, or a read error, is a failure too, not the end of
// the list.
int ReplayBuffer(Context& ctx, const BufferFile& buffer, std::FILE* f) {
    logs(ctx, "%s", buffer.logLine);
    std::string text;
    for (int line = 1;; ++line) {
        // One line at a time: a line cut short must not take the next line's fields.
        int more = 0;
        while ((more = ReadBufferLine(f, &text)) > 0 && IsBlankLine(text)) {
        }
        if (more < 0) return WriteNg(ctx, -1);
        if (more == 0) return 0;
        unsigned address = 0;
        int value = 0;
        char name[32] = {};
        if (std::sscanf(text.c_str(), "%x %d %31s", &address, &value, name) != 3)
            return WriteNg(ctx, -1);
        logi(ctx, "\t\t\t(%d) ", line);
        logs(ctx, "%s = ", name);
        logi(ctx, "%d \n", value);
        const int code = CodeOf(buffer, address);
        const int r = buffer.width == 32
                          ? fn_Modbus_Device_RW_32(ctx, static_cast<unsigned>(code),
                                                   static_cast<int>(address), value)
                          : WriteRegister(ctx, code, static_cast<int>(address), value);
        if (r < 0) return WriteNg(ctx, r);
        giCNTt::giCNT_inc(ctx);
    }
}

int BufferFileNg(Context& ctx, const BufferFile& buffer) {
    Log::err_Open_File(ctx, ctx.Source("___main"), kBufferFileSite, buffer.fileName);
    return -1;
}

int BufferWriteNg(Context& ctx, const BufferFile& buffer) {
    Log::err_Write_File(ctx, ctx.Source("___main"), kBufferWriteSite, buffer.fileName);
    return -1;
}

int Locate(Context& ctx, Locator* loc) {
    loc->panel = ctx.gvMain;
    loc->control = ctx.ui.FindCtrl(ctx.gvMain, "WRITE");
    return loc->control > 0 ? 0 : -1;
}

}  // namespace

int fn_W_Para_Buffer(std::FILE* file, int address, int value, const std::string& name) {
    return std::fprintf(file, "%04x\t%8d\t%s\n", address & 0xFFFF, value, name.c_str()) < 0 ? -1
                                                                                            : 0;
}

int Para_To_Dev::w_Parameter(Context& ctx) {
    giCNTt::giCNT_clr(ctx);
    msg_cfg::SID(ctx, kMsgWriting);
    if (int r = WriteLinkSettings(ctx); r < 0) return r;
    for (const BufferFile& buffer : ctx.model.write.buffers) {
        const int written = WriteBuffer(ctx, buffer);
        if (written == kBufferNotCreated) return BufferFileNg(ctx, buffer);
        if (written < 0) return BufferWriteNg(ctx, buffer);
        File f{std::fopen(buffer.fileName, "r")};
        if (!f) return BufferFileNg(ctx, buffer);
        if (int r = ReplayBuffer(ctx, buffer, f.get()); r < 0) return r;
    }
    return 0;
}

int Para_To_Dev::onClick(Context& ctx) {
    if (const char* banner = ctx.model.write.banner) logs(ctx, "%s\n", banner);
    int r = DevInfo2::fr_Modbus_to_GUI(ctx);
    if (r < 0) return ctx.gr = r;
    r = Para_To_Dev::Check_OOR(ctx);
    if (r < 0) {
        if (ctx.model.write.hasOutOfRangeMessage) msg_cfg::SID(ctx, kMsgOutOfRange);
        return ctx.gr = r;
    }
    r = Para_To_Dev::w_Parameter(ctx);
    if (r < 0 && !ctx.model.write.readAfterFailedWrite) return ctx.gr = r;
    if (r < 0) {
        // Bring the pages back in line with what the instrument now holds. A read that
        // succeeds does not make the write a success: its failure is what the command ends
        // with, unless the read fails too.
        const int read = Para_Fr_Dev::onClick(ctx);
        return ctx.gr = read < 0 ? read : r;
    }
    RSP_panel::Toggle_Dim(ctx);
    msg_cfg::SID(ctx, kMsgWriteOk);
    return ctx.gr = 0;
}

int Para_To_Dev::init(Context& ctx, Locator* loc) {
    return Locate(ctx, loc);
}

int Para_To_Dev::SA_i32(Context& ctx, int attribute, int value) {
    Locator loc;
    if (Locate(ctx, &loc) < 0) return -1;
    return ctx.ui.SetCtrlAttribute(loc.panel, loc.control, attribute, value);
}

int Para_To_Dev::Toggle_Dim(Context& ctx, int dim) {
    return Para_To_Dev::SA_i32(ctx, ui::ATTR_DIMMED, dim ? 1 : 0);
}

int evWrite(Context& ctx, int panel, int control, int event, void*, int data1, int) {
    if (event == ui::EVENT_COMMIT)
        Para_To_Dev::onClick(ctx);
    else
        fn_Enter_to_Next(ctx, panel, control, event, data1);
    return 0;
}

int evParaToDev(Context& ctx, int, int, void*, int) {
    return Para_To_Dev::onClick(ctx);
}

int Para_To_Dev::Replay_Buffer(Context& ctx, const BufferFile& buffer, std::FILE* f) {
    return ReplayBuffer(ctx, buffer, f);
}

}  // namespace conf
