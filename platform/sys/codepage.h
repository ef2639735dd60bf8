#pragma once
// Conversion between UTF-8, which the programs use inside, and the code pages that instrument
// files and older tools were written in.

#include <string>

namespace sys {

// Gb2312 is converted as GBK, the superset that Windows actually writes under the name GB2312
// (code page 936): GB2312 text converts identically and files holding GBK-only characters
// still read.
enum class CodePage { Utf8, Big5, Gb2312 };

inline constexpr int kCodePageInvalidInput = -1;      // not valid text in the source code page
inline constexpr int kCodePageNotRepresentable = -2;  // a character the target code page lacks
inline constexpr int kCodePageUnavailable = -3;       // the C library has no such converter

// Decodes bytes in code page from into *out. Returns 0, or kCodePageInvalidInput on any invalid
// or truncated sequence; *out is left unchanged on failure. From Utf8 this only validates
// (overlong forms, surrogates and code points above U+10FFFF are invalid).
int ToUtf8(const std::string& bytes, CodePage from, std::string* out);
// Encodes UTF-8 text into code page to. Returns 0, kCodePageInvalidInput when utf8 is not valid
// UTF-8, or kCodePageNotRepresentable; *out is left unchanged on failure.
int FromUtf8(const std::string& utf8, CodePage to, std::string* out);
// ToUtf8 for display: never fails, each byte that cannot be decoded becomes one U+FFFD.
std::string ToUtf8Lossy(const std::string& bytes, CodePage from);

}  // namespace sys
