#include "scan/com_discovery.h"

#include <algorithm>
#include <vector>

#include "platform/serial/serial_error.h"
#include "platform/sys/small_file.h"
#include "scan/scan_log.h"

namespace scan {

namespace {

constexpr const char* kModule = "M1__Scan_COM";
// Call-site numbers of the reports of a file that cannot be created.
constexpr int kTagAllDev = 9100;
constexpr int kTagLists = 9101;
constexpr int kTagExist = 9102;

// A device list is a few lines a port; far more than any machine has.
constexpr std::size_t kListFileBytes = 1024 * 1024;

// The lines of a file, each without its "\n", whole whatever their length (a long device
// name keeps its COM designation at the end). A file that cannot be read, or anything but a
// regular file at its name, has none.
std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text;
    sys::ReadFileHead(path, kListFileBytes, &text);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Slurp(const std::string& path) {
    std::string text;
    sys::ReadFileHead(path, kListFileBytes, &text);
    return text;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

// Creates path holding these lines; a file that cannot be written is reported. The open
// never waits on a FIFO at the name.
void WriteLines(ScanContext& ctx, const std::string& path, const std::vector<std::string>& lines,
                int tag) {
    if (sys::WriteWholeFile(path, Joined(lines)) < 0) fn_err_Open_File(ctx, kModule, tag, path);
}

}  // namespace

int fn_find_COMx_3092(const std::string& text) {
    int state = 0;
    std::string digits;
    for (char c : text) {
        switch (state) {
            case 0:
                if (c == '(') state = 1;
                break;
            case 1:
                if (c == 'C') state = 2;
                break;
            case 2:
                if (c == 'O') state = 3;
                break;
            case 3:
                if (c == 'M') state = 4;
                break;
            default:
                if (c == ')') {
                    // Leading digits only; the value saturates, so a long run is out of range.
                    int number = 0;
                    for (size_t n = 0; n < digits.size() && digits[n] >= '0' && digits[n] <= '9';
                         ++n)
                        number = std::min(number * 10 + (digits[n] - '0'), 100000);
                    return number >= 1 && number <= 256 ? number : 0;
                }
                digits += c;
        }
    }
    return 0;
}

int fn_find_COMx_Prolific(ScanContext& ctx, const std::string& text) {
    static const std::string kPattern = "Prolific";
    size_t matched = 0;
    for (char c : text) {
        if (c == kPattern[matched]) {
            logi(ctx, "%c", static_cast<unsigned char>(c));
            if (++matched == kPattern.size()) return 1;
        } else {
            matched = 0;  // the character is not compared again with the pattern's start
        }
    }
    return 0;
}

int fn_Write_Present_Devices(ScanContext& ctx, const std::string& path) {
    return sys::WriteWholeFile(path, Joined(ctx.devices.PresentDeviceNames())) < 0 ? -1 : 0;
}

int ComList::HHCC(ScanContext& ctx, int* panel, int* control) {
    *panel = ctx.gvtpScan;
    *control = ctx.ui.FindCtrl(ctx.gvtpScan, "COM_LIST");
    return 0;
}

int ComList::Discover_Ports(ScanContext& ctx) {
    if (fn_Write_Present_Devices(ctx, kDevMngAll) < 0)
        fn_err_Open_File(ctx, kModule, kTagAllDev, kDevMngAll);

    std::vector<std::string> ports;
    for (const std::string& line : ReadLines(kDevMngAll))
        if (fn_find_COMx_3092(line) != 0) ports.push_back(line);
    WriteLines(ctx, kDevMngCom, ports, kTagLists);

    std::vector<std::string> prolific, other;
    for (const std::string& line : ReadLines(kDevMngCom))
        (fn_find_COMx_Prolific(ctx, line) == 1 ? prolific : other).push_back(line);
    WriteLines(ctx, kDevMngProlific, prolific, kTagLists);
    WriteLines(ctx, kDevMngOther, other, kTagLists);

    // The Prolific file, then the others, byte for byte; a missing one adds nothing.
    if (sys::WriteWholeFile(kDevMngFirst, Slurp(kDevMngProlific) + Slurp(kDevMngOther)) < 0)
        fn_err_Open_File(ctx, kModule, kTagLists, kDevMngFirst);

    int panel = 0, list = 0;
    ComList::HHCC(ctx, &panel, &list);
    const int cleared = ctx.ui.ClearListCtrl(panel, list);
    if (cleared < 0) {
        dbgi(ctx, "ClearList err %d\n", cleared);
        return -1;
    }

    std::string exist;
    for (const std::string& line : ReadLines(kDevMngFirst)) {
        const int com = fn_find_COMx_3092(line);
        // A port that will not open now (in use, gone, no permission) is no scan target.
        const int opened =
            ctx.com.OpenComConfig(kPort222, "COM" + std::to_string(com), 9600, 0, 7, 1);
        if (opened >= 0) {
            ctx.ui.InsertListItem(panel, list, -1, line, com);
            exist += std::to_string(com) + '\n';
        } else if (opened == serial::kErrPermission) {
            // Listed, marked, and no scan target: choosing it shows the remedy.
            ctx.ui.InsertListItem(panel, list, -1, line + kNoPermissionMark, com);
            for (const serial::OpenNote& note : ctx.com.LastOpenNotes())
                LogWriteAlways(ctx, "COM" + std::to_string(com) + " :: " + note.text + "\n");
        }
        ctx.com.CloseCom(kPort222);
    }
    if (sys::WriteWholeFile(kComExist, exist) < 0)
        fn_err_Open_File(ctx, kModule, kTagExist, kComExist);
    return 0;
}

int evGetCom(ScanContext& ctx, int, int, int event, void*, int, int) {
    if (event == ui::EVENT_COMMIT) ComList::Discover_Ports(ctx);
    return 0;
}

int evTHotplug(ScanContext& ctx, int, int, int event, void*, int, int) {
    if (event != ui::EVENT_TIMER_TICK || ctx.portWatch == nullptr) return 0;
    int sweeping = 0;
    ctx.ui.GetCtrlAttribute(ctx.gvtpScan, ctx.ui.FindCtrl(ctx.gvtpScan, "TTARNEL"),
                            ui::ATTR_ENABLED, &sweeping);
    // The sweep reads its targets from the list's file: it is not rebuilt under it. The events
    // stay queued and bring the refresh once the sweep is over.
    if (sweeping) return 0;
    if (ctx.portWatch->Changed()) ComList::Discover_Ports(ctx);
    return 0;
}

}  // namespace scan
