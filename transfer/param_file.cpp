#include "transfer/param_file.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/selector.h"
#include "lang/status_line.h"
#include "log/event_log.h"
#include "log/log_errors.h"
#include "models/model.h"
#include "platform/sys/file_replacement.h"
#include "platform/sys/paths.h"
#include "platform/sys/small_file.h"
#include "platform/ui/constants.h"
#include "transfer/config_block.h"
#include "transfer/dev_info.h"
#include "transfer/range_check.h"
#include "transfer/read_all.h"

namespace conf {

namespace {

// Call-site numbers of the error reports.
constexpr int kCodeFolder = 1233101;
constexpr int kCodeCreate = 1233117;
constexpr int kCodeWrite = 1233129;
constexpr int kCodeRead = 1233143;

// No record comes near this; a longer line means the file is not a parameter file, and the
// read stops before it eats memory.
constexpr std::size_t kMaxLineLength = 256;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The ParameterFile folder beside the working directory for the length of one command: ".."
// and "ParameterFile" on the way in (made when missing), ".." and "bin" on the way out. A
// program started elsewhere than bin is put back where it was all the same.
class ParameterDir {
  public:
    ParameterDir() : start_(sys::CurrentDir()) {
        if (sys::ChangeDir("..") < 0) return;
        where_ = Where::kParent;
        if (sys::ChangeDir(kParamFileDir) < 0) {
            sys::MakeDir(kParamFileDir);
            if (sys::ChangeDir(kParamFileDir) < 0) return;
        }
        where_ = Where::kInside;
    }
    ~ParameterDir() {
        if (where_ == Where::kStart) return;
        if (where_ == Where::kInside) sys::ChangeDir("..");
        sys::ChangeDir("bin");
        if (!start_.empty() && sys::CurrentDir() != start_) sys::ChangeDir(start_);
    }
    ParameterDir(const ParameterDir&) = delete;
    ParameterDir& operator=(const ParameterDir&) = delete;

    bool Entered() const { return where_ == Where::kInside; }

  private:
    enum class Where { kStart, kParent, kInside };
    std::string start_;
    Where where_ = Where::kStart;
};

// A refused file on the status line, red where the model says so, else in the line's colour.
void Refused(Context& ctx, const char* text) {
    if (ctx.model.file.refusalRed)
        msg_cfg::SCV(ctx, kMsgRed, text);
    else
        msg_cfg::SV(ctx, text);
}

// The standard file report (popup and log), and what went wrong on the status line in red.
void ReportFile(Context& ctx, int code, const std::string& name, const char* status) {
    msg_cfg::SCV(ctx, kMsgRed, status);
    Log::err_Open_File(ctx, ctx.Source("___main"), code, name);
}

bool WriteSet(Context& ctx, std::FILE* f) {
    const FilePlan& plan = ctx.model.file;
    bool ok = fn_Parameter_W_File(f, plan.headerAddress, ctx.gvHW) >= 0;
    const int end = ctx.model.read.block16Address + fn_Para_Block_Length(ctx, ctx.gvFW);
    for (int address : plan.addresses) {
        const RegisterRecord* record = FindRegister(ctx.model, address);
        if (plan.linesByFirmware && record && record->width == 16 && address >= end) continue;
        ok = fn_Parameter_W_File(f, address, fn_Para_Block_Value(ctx, address)) >= 0 && ok;
    }
    if (plan.terminator) ok = fn_Parameter_W_File(f, kParamFileEnd, 0) >= 0 && ok;
    return ok;
}

// One record of a file.
struct Record {
    std::uint32_t address = 0;
    int value = 0;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !IsSpace(line[i]))
            ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// A hexadecimal address (a "0x" in front allowed) and a decimal value, nothing else.
bool ParseRecord(std::string_view line, Record* out) {
    std::vector<std::string_view> f = Fields(line);
    if (f.size() != 2) return false;
    std::string_view a = f[0];
    if (a.size() > 2 && a[0] == '0' && (a[1] == 'x' || a[1] == 'X')) a.remove_prefix(2);
    std::string_view v = f[1];
    if (v.size() > 1 && v[0] == '+') v.remove_prefix(1);
    Record r;
    auto [aEnd, aErr] = std::from_chars(a.data(), a.data() + a.size(), r.address, 16);
    if (aErr != std::errc() || aEnd != a.data() + a.size()) return false;
    auto [vEnd, vErr] = std::from_chars(v.data(), v.data() + v.size(), r.value, 10);
    if (vErr != std::errc() || vEnd != v.data() + v.size()) return false;
    *out = r;
    return true;
}

enum class Next { kRecord, kEnd, kDamaged, kUnreadable };

// Reads the file's records one by one, skipping blank lines, logging each as it is read.
class RecordReader {
  public:
    RecordReader(Context& ctx, std::FILE* f) : ctx_(ctx), f_(f) {}

    Next Read(Record* r) {
        for (;;) {
            const Next got = ReadLine();
            if (got != Next::kRecord) return got;
            if (Fields(line_).empty()) continue;
            if (!ParseRecord(line_, r)) return Next::kDamaged;
            logi(ctx_, "<%04x> ", static_cast<int>(r->address));
            logi(ctx_, "[%d]\n", r->value);
            return Next::kRecord;
        }
    }
    int LineNumber() const { return lineNumber_; }

  private:
    Next ReadLine() {
        line_.clear();
        for (;;) {
            const int c = std::getc(f_);
            if (c == EOF) {
                if (std::ferror(f_)) return Next::kUnreadable;
                if (line_.empty()) return Next::kEnd;
                ++lineNumber_;  // a last line without its line feed
                return Next::kRecord;
            }
            if (c == '\n') {
                ++lineNumber_;
                return Next::kRecord;
            }
            if (line_.size() >= kMaxLineLength) {
                ++lineNumber_;
                return Next::kDamaged;
            }
            line_.push_back(static_cast<char>(c));
        }
    }

    Context& ctx_;
    std::FILE* f_;
    std::string line_;
    int lineNumber_ = 0;
};

enum class Verdict { kApply, kFormat, kHw, kUnreadable };

// The whole file checked and its parameter records collected; nothing is applied here.
Verdict ReadSet(Context& ctx, std::FILE* f, std::vector<Record>* set) {
    RecordReader reader(ctx, f);
    Record header;
    Next got = reader.Read(&header);
    if (got == Next::kUnreadable) return Verdict::kUnreadable;
    const FilePlan& plan = ctx.model.file;
    if (got != Next::kRecord || header.address != static_cast<std::uint32_t>(plan.headerAddress))
        return Verdict::kFormat;
    // Without an instrument of this model (none answered: 255) no file can match.
    const bool ownModel = fn_DevInfo_Own_Model(ctx);
    if (!ownModel || header.value != ctx.gvHW) return Verdict::kHw;

    const int lines = plan.maxLines - (plan.maxLinesCountHeader ? 1 : 0);
    for (int n = 0; n < lines; ++n) {
        Record r;
        got = reader.Read(&r);
        if (got == Next::kEnd) break;
        if (got == Next::kUnreadable) return Verdict::kUnreadable;
        // Why a file is refused goes to the log whatever the switches say.
        if (got == Next::kDamaged) {
            LogWriteAlways(ctx, "Parameter file: line " + std::to_string(reader.LineNumber()) +
                                    " is no address and value\n");
            return Verdict::kFormat;
        }
        if (r.address == kParamFileEnd) break;
        // A value no control can hold would be changed or dropped on its way to the page, and
        // what then went to the instrument is not what the file says.
        if (r.address <= 0xFFFFu &&
            fn_Para_Can_Hold(ctx, static_cast<int>(r.address), r.value) == 0) {
            const RegisterRecord* record = FindRegister(ctx.model, static_cast<int>(r.address));
            LogWriteAlways(ctx, "Parameter file: line " + std::to_string(reader.LineNumber()) +
                                    ": " + (record ? record->name : "?") + " " +
                                    std::to_string(r.value) +
                                    " is not a value its control can hold\n");
            return Verdict::kFormat;
        }
        set->push_back(r);
    }
    return Verdict::kApply;
}

}  // namespace

std::string Para_To_FILE::Date_Time_str(Context& ctx) {
    const sys::DateTime t = ctx.clock().LocalNow();
    char name[96];
    std::snprintf(name, sizeof name, ctx.model.id.paramFileNameFormat, t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return name;
}

int fn_Parameter_W_File(std::FILE* file, int address, int value) {
    return std::fprintf(file, "%04x\t%d\n", static_cast<unsigned>(address) & 0xFFFFu, value);
}

int Para_To_FILE::w_Parameter(Context& ctx) {
    ParameterDir dir;
    if (!dir.Entered()) {
        ReportFile(ctx, kCodeFolder, kParamFileDir, kMsgFileFolder);
        return kParamFileFailed;
    }
    ui::FileSelectRequest request;
    request.defaultDirectory = sys::CurrentDir();
    request.defaultFileSpec = Para_To_FILE::Date_Time_str(ctx);
    request.fileTypeList = "*.txt";
    request.title = "save file";
    request.saveButton = true;
    request.allowCancel = true;
    request.allowMakeDirectory = true;
    std::string path;
    if (ctx.ui.FileSelectPopup(request, &path) == ui::VAL_NO_FILE_SELECTED || path.empty())
        return kParamFileCancelled;

    // The file goes where the technician chose (relative names land in ParameterFile).
    // Saved over an older set, the older set stays unless the new one is whole on the disk.
    sys::FileReplacement f(path);
    if (!f.opened()) {
        ReportFile(ctx, kCodeCreate, path, kMsgFileNotSaved);
        return kParamFileFailed;
    }
    if (!WriteSet(ctx, f.get()) || f.Commit() != 0) {
        ReportFile(ctx, kCodeWrite, path, kMsgFileNotSaved);
        return kParamFileFailed;
    }
    return 0;
}

int Para_Fr_FILE::Load(Context& ctx) {
    ParameterDir dir;
    if (!dir.Entered()) {
        ReportFile(ctx, kCodeFolder, kParamFileDir, kMsgFileFolder);
        return kParamFileFailed;
    }
    ui::FileSelectRequest request;
    request.defaultDirectory = sys::CurrentDir();
    request.defaultFileSpec = "*.txt";
    request.fileTypeList = "*.txt";
    request.title = "open file";
    request.saveButton = false;
    request.allowCancel = true;
    request.allowMakeDirectory = true;
    std::string path;
    if (ctx.ui.FileSelectPopup(request, &path) != ui::VAL_EXISTING_FILE_SELECTED || path.empty())
        return kParamFileCancelled;

    // Only a regular file is a parameter file: a FIFO chosen in the dialog is never waited on.
    int code = 0;
    File f(sys::OpenRegularForReading(path, &code));
    if (!f) {
        ReportFile(ctx, kCodeRead, path, kMsgFileNotRead);
        return kParamFileFailed;
    }
    std::vector<Record> set;
    switch (ReadSet(ctx, f.get(), &set)) {
        case Verdict::kUnreadable:
            ReportFile(ctx, kCodeRead, path, kMsgFileNotRead);
            return kParamFileFailed;
        case Verdict::kFormat:
            Refused(ctx, kMsgFileFormat);
            return 0;
        case Verdict::kHw:
            Refused(ctx, kMsgFileHw);
            return 0;
        case Verdict::kApply:
            break;
    }
    // File order is register order: type, unit and decimal point before what they govern.
    for (const Record& r : set) {
        // Addresses the model has no parameter at are skipped.
        if (r.address <= 0xFFFFu) fn_Para_to_GUI(ctx, static_cast<int>(r.address), r.value);
    }
    if (const char* loaded = ctx.model.file.loadedMessage) msg_cfg::SCV(ctx, kMsgGreen, loaded);
    return 0;
}

int evParaToFile(Context& ctx, int, int, void*, int) {
    return Para_To_FILE::w_Parameter(ctx);
}

int evParaFrFile(Context& ctx, int, int, void*, int) {
    const int r = Para_Fr_FILE::Load(ctx);
    Para_To_Dev::Check_OOR(ctx);
    return r;
}

}  // namespace conf
