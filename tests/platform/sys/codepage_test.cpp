#include "platform/sys/codepage.h"

#include <gtest/gtest.h>

namespace {

using sys::CodePage;

const std::string kFffd = "\xEF\xBF\xBD";

std::string Decoded(const std::string& bytes, CodePage from) {
    std::string out = "unset";
    EXPECT_EQ(sys::ToUtf8(bytes, from, &out), 0);
    return out;
}

std::string Encoded(const std::string& utf8, CodePage to) {
    std::string out = "unset";
    EXPECT_EQ(sys::FromUtf8(utf8, to, &out), 0);
    return out;
}

TEST(CodePage, KnownBytesRoundTripsAsciiUnchangedAndBadInputFailsOrIsReplaced) {
    EXPECT_EQ(Decoded("\xB6\x7D\xA9\x6C", CodePage::Big5), "開始");
    EXPECT_EQ(Encoded("開始★", CodePage::Big5), "\xB6\x7D\xA9\x6C\xA1\xB9");
    EXPECT_EQ(Decoded("\xBF\xAA\xCA\xBC", CodePage::Gb2312), "开始");
    EXPECT_EQ(Encoded("开始", CodePage::Gb2312), "\xBF\xAA\xCA\xBC");
    // Outside GB2312 proper, but what Windows writes under that name.
    EXPECT_EQ(Decoded("\x81\x40", CodePage::Gb2312), "丂");

    // Long enough to need several output chunks.
    std::string utf8;
    for (int i = 0; i < 3000; ++i)
        utf8 += "通道 1: 開始 ★ ";
    EXPECT_EQ(Decoded(Encoded(utf8, CodePage::Big5), CodePage::Big5), utf8);

    // ASCII and NUL pass unchanged in every code page.
    const std::string text("Modbus RTU 9600,N,8,1\0end", 25);
    for (CodePage page : {CodePage::Utf8, CodePage::Big5, CodePage::Gb2312}) {
        EXPECT_EQ(Decoded(text, page), text);
        EXPECT_EQ(Encoded(text, page), text);
        EXPECT_EQ(sys::ToUtf8Lossy(text, page), text);
    }

    // Bad input fails leaving the output alone, or the lossy decoding replaces each bad byte.
    std::string out = "keep";
    for (const std::string bad : {"\xFF", "ok\xB6", "\xB6\x20"})
        EXPECT_EQ(sys::ToUtf8(bad, CodePage::Big5, &out), sys::kCodePageInvalidInput);
    EXPECT_EQ(sys::ToUtf8("\xFF\xFF", CodePage::Gb2312, &out), sys::kCodePageInvalidInput);
    EXPECT_EQ(sys::FromUtf8("start \xF0\x9F\x98\x80", CodePage::Big5, &out),
              sys::kCodePageNotRepresentable);
    EXPECT_EQ(out, "keep");

    // UTF-8 is validated strictly.
    EXPECT_EQ(Decoded("開始★ \xF0\x9F\x98\x80", CodePage::Utf8), "開始★ \xF0\x9F\x98\x80");
    // Lone continuation, overlong '/', surrogate, above U+10FFFF, truncated, invalid lead.
    for (const std::string bad :
         {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE9\x96", "\xF8\x88\x80"}) {
        EXPECT_EQ(sys::ToUtf8(bad, CodePage::Utf8, &out), sys::kCodePageInvalidInput);
        EXPECT_EQ(sys::FromUtf8(bad, CodePage::Big5, &out), sys::kCodePageInvalidInput);
        EXPECT_EQ(out, "keep");
    }

    // The lossy decoding replaces each bad byte.
    EXPECT_EQ(sys::ToUtf8Lossy("\xFF", CodePage::Big5), kFffd);
    EXPECT_EQ(sys::ToUtf8Lossy("a\xFF\xB6\x7D", CodePage::Big5), "a" + kFffd + "開");
    // A lead byte with a bad trail loses only itself; the space survives.
    EXPECT_EQ(sys::ToUtf8Lossy("\xB6 x", CodePage::Big5), kFffd + " x");
    EXPECT_EQ(sys::ToUtf8Lossy("\xBF\xAA\xBF", CodePage::Gb2312), "开" + kFffd);
    EXPECT_EQ(sys::ToUtf8Lossy("a\xE9\x96z\xC0", CodePage::Utf8),
              "a" + kFffd + kFffd + "z" + kFffd);
}

}  // namespace
