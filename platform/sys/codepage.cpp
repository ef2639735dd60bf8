#include "platform/sys/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace sys {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr std::size_t kChunk = 4096;

const char* IconvName(CodePage page) {
    switch (page) {
        case CodePage::Utf8:
            return "UTF-8";
        case CodePage::Big5:
            return "BIG5";
        case CodePage::Gb2312:
            return "GBK";
    }
    return "UTF-8";
}

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// Converts in from *pos onwards, appending to *out and advancing *pos past what was converted.
// Returns 0 when all of it converted, else the errno iconv stopped with (EILSEQ, EINVAL), *pos
// then being the offending byte.
int Convert(const Iconv& cd, const std::string& in, std::size_t* pos, std::string* out) {
    // iconv's prototype takes char** but only reads the input.
    char* inPtr = const_cast<char*>(in.data()) + *pos;
    std::size_t inLeft = in.size() - *pos;
    std::string chunk(kChunk, '\0');
    for (;;) {
        char* outPtr = chunk.data();
        std::size_t outLeft = chunk.size();
        std::size_t rc = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        int err = rc == static_cast<std::size_t>(-1) ? errno : 0;
        out->append(chunk.data(), chunk.size() - outLeft);
        *pos = in.size() - inLeft;
        if (err == E2BIG) continue;
        if (err != 0) return err;
        // End any shift state; none of our code pages have one, but this is iconv's contract.
        outPtr = chunk.data();
        outLeft = chunk.size();
        iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft);
        out->append(chunk.data(), chunk.size() - outLeft);
        return 0;
    }
}

// Length of the well-formed UTF-8 sequence at s[i], or 0 when there is none.
std::size_t Utf8SequenceLength(const std::string& s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;  // allowed range of the second byte; narrower after some leads
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() - i < length) return 0;
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second < low || second > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    return length;
}

bool IsValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Utf8Lossy(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = Utf8SequenceLength(s, i);
        if (n == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(s, i, n);
            i += n;
        }
    }
    return out;
}

}  // namespace

int ToUtf8(const std::string& bytes, CodePage from, std::string* out) {
    if (from == CodePage::Utf8) {
        if (!IsValidUtf8(bytes)) return kCodePageInvalidInput;
        *out = bytes;
        return 0;
    }
    Iconv cd("UTF-8", IconvName(from));
    if (!cd.ok()) return kCodePageUnavailable;
    std::string result;
    std::size_t pos = 0;
    if (Convert(cd, bytes, &pos, &result) != 0) return kCodePageInvalidInput;
    *out = std::move(result);
    return 0;
}

int FromUtf8(const std::string& utf8, CodePage to, std::string* out) {
    // Validated here so that a failure inside iconv can only mean a missing character.
    if (!IsValidUtf8(utf8)) return kCodePageInvalidInput;
    if (to == CodePage::Utf8) {
        *out = utf8;
        return 0;
    }
    Iconv cd(IconvName(to), "UTF-8");
    if (!cd.ok()) return kCodePageUnavailable;
    std::string result;
    std::size_t pos = 0;
    if (Convert(cd, utf8, &pos, &result) != 0) return kCodePageNotRepresentable;
    *out = std::move(result);
    return 0;
}

std::string ToUtf8Lossy(const std::string& bytes, CodePage from) {
    if (from == CodePage::Utf8) return Utf8Lossy(bytes);
    Iconv cd("UTF-8", IconvName(from));
    std::string out;
    if (!cd.ok()) {
        // No decoder: keep what is plain ASCII in every supported code page.
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out += c;
            } else {
                out += kReplacement;
            }
        }
        return out;
    }
    std::size_t pos = 0;
    while (Convert(cd, bytes, &pos, &out) != 0 && pos < bytes.size()) {
        // Replace only the first byte: the next may start a valid character (often ASCII).
        out += kReplacement;
        ++pos;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace sys
