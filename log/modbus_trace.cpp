#include "log/modbus_trace.h"

#include <string>

#include "log/event_log.h"
#include "platform/ui/runtime.h"

namespace conf {

namespace {

// The trace is written between an answer and the next request, so its lines are put together
// digit by digit in one string rather than through printf and a temporary per field.
void Hex(std::string& s, unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        s += kDigits[(value >> shift) & 0xFu];
}

// "<hhhh> " and the like: a 16-bit field in its brackets, then what follows it.
void Field(std::string& s, char open, unsigned value, char close, const char* after) {
    s += open;
    Hex(s, value, 4);
    s += close;
    s += after;
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
std::string Common(int port, const char* direction, const std::uint8_t* frame, int length) {
    std::string s;
    // Room for a whole line: a read answer takes nine characters per register.
    s.reserve(static_cast<std::size_t>(64 + 5 * length));
    s += "\tP";
    s += std::to_string(port);
    s += '\t';
    s += direction;
    s += "\t#";
    Hex(s, frame[0], 2);
    s += '.';
    Hex(s, frame[1], 2);
    s += ' ';
    return s;
}

// The tag at the end of a line, then the line's end.
void Ending(std::string& s, const std::uint8_t* frame, int code, TraceStyle style,
            const char* end) {
    s += '\t';
    if (frame[0] == 0) s += "---Broadcast--- ";
    s += Tag(code, style);
    s += end;
}

int Unknown(ui::Runtime& ui, std::string line, sys::LogStream* stream, const char* title,
            const char* text) {
    if (stream) {
        line += '\n';
        stream->Write(line);
    }
    ui.MessagePopup(title, text);
    return -1;
}

}  // namespace

int fn_Log_Tx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style) {
    if (length < 2) return -1;
    std::string line = Common(port, "MB.Tx", frame, length);
    int code = frame[1];
    if (!Tag(code, style))
        return Unknown(ui, line, stream, "log Tx[] exception",
                       style == TraceStyle::Paired ? "not enR, enRo, enWram, enWee, enWmw"
                                                   : "not enR, enRo, enWram, enWee");
    if (!stream) return 0;
    const unsigned crc = Word(frame, length - 2);
    if ((code == 3 || code == 4) && length >= 8) {
        Field(line, '<', Word(frame, 2), '>', " ");
        Field(line, '(', Word(frame, 4), ')', " ");
        Field(line, '{', crc, '}', "");
    } else if ((code == 5 || code == 6) && length >= 8) {
        Field(line, '<', Word(frame, 2), '>', " ");
        Field(line, '[', Word(frame, 4), ']', " ");
        Field(line, '{', crc, '}', "");
    } else if ((code == 16 || code == 9) && length >= 13) {
        Field(line, '<', Word(frame, 2), '>', " ");
        Field(line, '(', Word(frame, 4), ')', " ");
        line += '(';
        Hex(line, frame[6], 2);
        line += ")  ";
        Field(line, '[', Word(frame, 7), ']', "");
        Field(line, '[', Word(frame, 9), ']', "  ");
        Field(line, '{', crc, '}', "");
    }
    Ending(line, frame, code, style, "\n");
    stream->Write(line);
    return 0;
}

int fn_Log_Rx(ui::Runtime& ui, int port, const std::uint8_t* frame, int length,
              sys::LogStream* stream, TraceStyle style) {
    if (length < 2) return -1;
    std::string line = Common(port, "MB.Rx", frame, length);
    int code = frame[1];
    if (!Tag(code, style))
        return Unknown(ui, line, stream, "log Rx[] exception", "not enR, enRo, enWram, enWee");
    if (!stream) return 0;
    const unsigned crc = Word(frame, length - 2);
    if ((code == 3 || code == 4) && length >= 5 && style == TraceStyle::SingleRequest) {
        const int count = frame[2];
        Field(line, '(', static_cast<unsigned>(count), ')', " ");
        for (int i = 0; i < count / 2 && 2 * i + 4 < length - 2; ++i)
            Field(line, '[', Word(frame, 3 + 2 * i), ']', " ");
        Field(line, '{', crc, '}', "");
    } else if ((code == 3 || code == 4) && length >= 5) {
        const int count = frame[2];
        line += '(';
        Hex(line, static_cast<unsigned>(count), 2);
        line += ")   ";
        // Registers in pairs; never past the data the frame really holds.
        for (int i = 1; i <= count / 2 && 2 * i + 2 <= length - 3; ++i)
            Field(line, '[', Word(frame, 2 * i + 1), ']', i % 2 == 0 ? "  " : "");
        Field(line, '{', crc, '}', "");
    } else if ((code == 5 || code == 6) && length >= 8) {
        Field(line, '<', Word(frame, 2), '>', " ");
        Field(line, '[', Word(frame, 4), ']', " ");
        Field(line, '{', crc, '}', "");
    } else if ((code == 16 || code == 9) && length >= 8) {
        Field(line, '<', Word(frame, 2), '>', " ");
        Field(line, '(', Word(frame, 4), ')', " ");
        Field(line, '{', crc, '}', "");
    }
    Ending(line, frame, code, style, "\n\n");
    stream->Write(line);
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
    text->clear();
    Hex(*text, static_cast<unsigned>(value) & 0xFFFFu, 4);
    return 0;
}

int Log::Modbus_R(Context& ctx, int address, int value, int decimal, const std::string& name) {
    if (ctx.gvLogYN != 1) return 0;
    // One write, flushed, for the whole line: "<0011>\t[ffff]\t     -1   \tA1SP\n".
    std::string line;
    line.reserve(32 + name.size());
    Field(line, '<', static_cast<unsigned>(address) & 0xFFFFu, '>', "\t");
    Field(line, '[', static_cast<unsigned>(value) & 0xFFFFu, ']', "\t");
    const std::string number = std::to_string(decimal);
    if (number.size() < 7) line.append(7 - number.size(), ' ');
    line += number;
    line += "   \t";
    line += name.c_str();  // as printf's %s took it: up to a NUL
    line += '\n';
    LogWriteAlways(ctx, line);
    return 0;
}

}  // namespace conf
