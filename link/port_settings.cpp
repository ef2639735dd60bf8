#include "link/port_settings.h"

#include <cstdio>
#include <string_view>

#include "link/port_open.h"
#include "platform/sys/small_file.h"

namespace conf {

namespace {

// Six short numbers with any white space a person puts around them.
constexpr std::size_t kSettingsFileBytes = 256;
// A rejected number is shown as written, up to this many characters.
constexpr std::size_t kShownDigits = 32;

struct FieldRule {
    const char* name;
    long long min, max;
    bool hex;
};

constexpr FieldRule kFields[kPortFieldsAll] = {
    {"COM number", 1, 256, false}, {"baud-rate index", 0, 3, false},
    {"parity", 0, 4, false},       {"data bits", 5, 8, false},
    {"stop bits", 1, 2, false},    {"model code", 0, 0xFFFF, true},
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The fields one after another as "%d" (or "%x") reads them: white space skipped, a sign, then
// digits. Keeps the line of each field for the log.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    enum class Got { kNumber, kMissing, kNotANumber };
    // One field; *value is held at the ends of long long when the digits go beyond it.
    Got Next(bool hex, long long* value, std::string* written) {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) {
            if (text_[pos_] == '\n') ++line_;
            ++pos_;
        }
        if (pos_ >= text_.size()) return Got::kMissing;
        const std::size_t start = pos_;
        bool negative = false;
        if (text_[pos_] == '+' || text_[pos_] == '-') negative = text_[pos_++] == '-';
        if (hex && pos_ + 1 < text_.size() && text_[pos_] == '0' &&
            (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X') && pos_ + 2 < text_.size() &&
            DigitValue(text_[pos_ + 2], true) >= 0)
            pos_ += 2;
        const std::size_t digits = pos_;
        const long long base = hex ? 16 : 10;
        const long long limit = 0x7FFFFFFFFFFFFFFFLL / 16;
        long long v = 0;
        for (int d; pos_ < text_.size() && (d = DigitValue(text_[pos_], hex)) >= 0; ++pos_)
            v = v > limit ? v : v * base + d;
        if (pos_ == digits) {
            pos_ = start;  // as scanf leaves it: every later field fails here too
            return Got::kNotANumber;
        }
        *value = negative ? -v : v;
        *written = std::string(text_.substr(start, std::min(pos_ - start, kShownDigits)));
        lastLine_ = line_;
        return Got::kNumber;
    }
    int Line() const { return line_; }
    int LastLine() const { return lastLine_; }
    bool Blank() const {
        for (char c : text_)
            if (!IsSpace(c)) return false;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int lastLine_ = 0;
};

}  // namespace

int fn_Write_Port_Settings(int com, int br, int parity, int dataBits, int stopBits,
                           unsigned mcode) {
    mcode &= 0xFFFF;
    char settings[96];
    std::snprintf(settings, sizeof settings, "%d\n%d\n%d\n%d\n%d\n%04x", com, br, parity, dataBits,
                  stopBits, mcode);
    // Never waits on a FIFO at the name; a full disk shows at the close.
    bool created = false;
    int result = sys::WriteWholeFile(kComDevUseFile, settings, &created) < 0 ? -1 : 0;
    if (!created) return -1;
    char comment[256];
    std::snprintf(comment, sizeof comment,
                  "%-6d\tCOM #\n%-6d\tBaud %d\n%-6d\tParity bit\n%-6d\tData bit\n%-6d\tStop bit\n"
                  "%04x\tMcode of Dev (hex)",
                  com, br, fn_BR_to_Baud(br), parity, dataBits, stopBits, mcode);
    if (sys::WriteWholeFile(kComDevUseCommentFile, comment) < 0) result = -1;
    return result;
}

int fn_Read_Port_Settings(PortSettings* out) {
    std::string ignored;
    return fn_Read_Port_Settings(out, 0, &ignored);
}

int fn_Read_Port_Settings(PortSettings* out, int fieldsUsed, std::string* problem) {
    problem->clear();
    *out = PortSettings{};
    std::string text;
    int error = 0;
    const int r = sys::ReadFileHead(kComDevUseFile, kSettingsFileBytes, &text, &error);
    if (r < 0) {
        // A missing file is said by the open report itself; only a file that is there and
        // cannot be used needs the reason.
        if (r != sys::kFileMissing) *problem = sys::FileProblemText(r, error);
        return -1;
    }
    FieldReader reader(text);
    if (fieldsUsed > 0 && reader.Blank()) {
        *problem = "empty";
        return 0;
    }
    long long values[kPortFieldsAll] = {};
    for (int i = 0; i < kPortFieldsAll; ++i) {
        const FieldRule& rule = kFields[i];
        std::string written;
        const FieldReader::Got got = reader.Next(rule.hex, &values[i], &written);
        const bool used = i < fieldsUsed && problem->empty();
        if (got == FieldReader::Got::kMissing) {
            if (used)
                *problem = std::string(rule.name) + " missing after line " +
                           std::to_string(reader.LastLine());
            break;
        }
        const std::string at = "line " + std::to_string(reader.Line()) + ": " + rule.name;
        if (got == FieldReader::Got::kNotANumber) {
            if (used) *problem = at + " is not a number";
            break;
        }
        if (used && (values[i] < rule.min || values[i] > rule.max)) {
            char range[48];
            std::snprintf(range, sizeof range, rule.hex ? "%04llx-%04llx" : "%lld-%lld", rule.min,
                          rule.max);
            *problem = at + " " + written + " out of range " + range;
        }
    }
    // Values beyond an int are held at its ends; the open refuses them.
    auto clampInt = [](long long v) {
        return static_cast<int>(v < -2147483647LL - 1 ? -2147483647LL - 1
                                                      : (v > 2147483647LL ? 2147483647LL : v));
    };
    out->com = clampInt(values[0]);
    out->br = clampInt(values[1]);
    out->parity = clampInt(values[2]);
    out->dataBits = clampInt(values[3]);
    out->stopBits = clampInt(values[4]);
    out->mcode = static_cast<unsigned>(values[5]);
    return 0;
}

}  // namespace conf
