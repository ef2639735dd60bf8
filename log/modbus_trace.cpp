#include "log/modbus_trace.h"

#include <cstdio>

#include "log/event_log.h"
#include "platform/ui/runtime.h"

namespace conf {

namespace {

std::string Format(const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

unsigned Word(const std::uint8_t* frame, int at) {
    return frame[at] * 256u + frame[at + 1];
}

const char* Tag(int code, TraceStyle style) {
    if (style == TraceStyle::SingleRequest && (code == 9 || code == 16)) return nullptr;
    switch (code) {
        case 3:
            return "Read";
        case 4:
            return "Read-only";
        case 5:
            return "Write RAM";
        case 6:
            return "Write EEPROM";
        case 9:
        case 16:
            return "Write n Words";
        default:
            return nullptr;
    }
}

// "\tP222\tMB.Tx\t#01.03 ": the fields every line starts with.
std::string Common(int port, const char* direction, const std::uint8_t* frame) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\tP%d\t%s\t#%02x.%02x ", port, direction, frame[0], frame[1]);
    return buf;
}

std::string Ending(const std::uint8_t* frame, int code, TraceStyle style) {
    std::string s = "\t";
    if (frame[0] == 0) s += "---Broadcast--- ";
    return s + Tag(code, style);
}

int Unknown(ui::Runtime& ui, std::string line, sys::LogStream* stream, const char* title,
            const char* text) {
    if (stream) stream->Write(line + "\n");
    ui.MessagePopup(title, text);
    return -1;
}

}  // namespace

int fn_Log_Tx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style) {
    if (length < 2) return -1;
    std::string line = Common(port, "MB.Tx", frame);
    int code = frame[1];
    if (!Tag(code, style))
        return Unknown(ui, line, stream, "log Tx[] exception",
                       style == TraceStyle::Paired ? "not enR, enRo, enWram, enWee, enWmw"
                                                   : "not enR, enRo, enWram, enWee");
    const unsigned crc = Word(frame, length - 2);
    if ((code == 3 || code == 4) && length >= 8) {
        line += Format("<%04x> ", Word(frame, 2)) + Format("(%04x) ", Word(frame, 4)) +
                Format("{%04x}", crc);
    } else if ((code == 5 || code == 6) && length >= 8) {
        line += Format("<%04x> ", Word(frame, 2)) + Format("[%04x] ", Word(frame, 4)) +
                Format("{%04x}", crc);
    } else if ((code == 16 || code == 9) && length >= 13) {
        line += Format("<%04x> ", Word(frame, 2)) + Format("(%04x) ", Word(frame, 4)) +
                Format("(%02x)  ", frame[6]) + Format("[%04x]", Word(frame, 7)) +
                Format("[%04x]  ", Word(frame, 9)) + Format("{%04x}", crc);
    }
    if (stream) stream->Write(line + Ending(frame, code, style) + "\n");
    return 0;
}

int fn_Log_Rx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style) {
    if (length < 2) return -1;
    std::string line = Common(port, "MB.Rx", frame);
    int code = frame[1];
    if (!Tag(code, style))
        return Unknown(ui, line, stream, "log Rx[] exception", "not enR, enRo, enWram, enWee");
    const unsigned crc = Word(frame, length - 2);
    if ((code == 3 || code == 4) && length >= 5 && style == TraceStyle::SingleRequest) {
        const int count = frame[2];
        line += Format("(%04x) ", static_cast<unsigned>(count));
        for (int i = 0; i < count / 2 && 2 * i + 4 < length - 2; ++i)
            line += Format("[%04x] ", Word(frame, 3 + 2 * i));
        line += Format("{%04x}", crc);
    } else if ((code == 3 || code == 4) && length >= 5) {
        const int count = frame[2];
        line += Format("(%02x)   ", static_cast<unsigned>(count));
        // Registers in pairs; never past the data the frame really holds.
        for (int i = 1; i <= count / 2 && 2 * i + 2 <= length - 3; ++i)
            line += Format("[%04x]", Word(frame, 2 * i + 1)) + (i % 2 == 0 ? "  " : "");
        line += Format("{%04x}", crc);
    } else if ((code == 5 || code == 6) && length >= 8) {
        line += Format("<%04x> ", Word(frame, 2)) + Format("[%04x] ", Word(frame, 4)) +
                Format("{%04x}", crc);
    } else if ((code == 16 || code == 9) && length >= 8) {
        line += Format("<%04x> ", Word(frame, 2)) + Format("(%04x) ", Word(frame, 4)) +
                Format("{%04x}", crc);
    }
    if (stream) stream->Write(line + Ending(frame, code, style) + "\n\n");
    return 0;
}

int fn_Log_Tx(Context& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream) {
    return fn_Log_Tx(ctx.ui, port, frame, length, stream, TraceStyle::Paired);
}

int fn_Log_Rx(Context& ctx, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream) {
    return fn_Log_Rx(ctx.ui, port, frame, length, stream, TraceStyle::Paired);
}

int Log::DATA16_HEX(int value, std::string* text) {
    *text = Format("%04x", static_cast<unsigned>(value) & 0xFFFFu);
    return 0;
}

int Log::Modbus_R(Context& ctx, int address, int value, int decimal, const std::string& name) {
    std::string hex;
    Log::DATA16_HEX(value, &hex);
    logi(ctx, "<%04x>\t", address & 0xFFFF);
    logs(ctx, "[%s]\t", hex);
    logi(ctx, "%7d   \t", decimal);
    logs(ctx, "%s\n", name);
    return 0;
}

}  // namespace conf
