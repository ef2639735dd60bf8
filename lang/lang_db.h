#pragma once
// The configurator's string database: every caption, menu text and status message in English,
// Traditional Chinese (Big5) and Simplified Chinese (GB2312), looked up by text id.

#include <string>
#include <vector>

#include "core/context.h"

namespace conf {

inline constexpr int kLangEnglish = 0;
inline constexpr int kLangTraditional = 1;  // Big5 bytes
inline constexpr int kLangSimplified = 2;   // GB2312 bytes
namespace LangS {

// Copies the text of `id` in `language` into *destination. An unknown language copies nothing;
// an unknown id shows "Lang SID not fount" and copies nothing. Always returns 0.
int DataBase(Context& ctx, int id, int language, std::string* destination);
}  // namespace LangS

// Every id the database holds, in table order.
std::vector<int> LangTextIds();

}  // namespace conf
