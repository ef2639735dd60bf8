#pragma once
// Scan's language table: every text Scan shows, by id, in English, Traditional Chinese (Big5
// bytes) and Simplified Chinese (GB2312 bytes).

#include <string>
#include <vector>

namespace scan {

inline constexpr int kLangEnglish = 0;
inline constexpr int kLangTraditional = 1;
inline constexpr int kLangSimplified = 2;

namespace LangS {
// Copies the text of (id, language) into *destination; an id or language outside the table
// leaves it unchanged. Returns 0.
int DataBase(int id, int language, std::string* destination);
}  // namespace LangS

// Every id of the table, in table order.
std::vector<int> ScanTextIds();

}  // namespace scan
