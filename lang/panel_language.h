#pragma once
// The configurator's captions in the language chosen in the scanner: the language file read at
// start-up, the main panel's character set, and every caption of the model's caption tables
// set from the language database. The status line stays in English whatever the language.

#include <string>

#include "core/context.h"

namespace conf {

// Written by the scanner beside the programs: "0", "1" or "2".
inline constexpr const char* kLanguageFileName = "Language_Selection.txt";

// The language a language file's content names: 0, 1 or 2 for one such number (blanks and
// line ends around it allowed), -1 for anything else.
int fn_Parse_Language(const std::string& content);

namespace LangS {
// Reads the language file into gvLANG and returns it. A missing or unreadable file, one that
// is not a regular file or one that holds anything but 0, 1 or 2 means English (0).
int RF(Context& ctx);
// The main panel's character set for gvLANG (its pages and menu bar follow it). Returns 0,
// or the runtime's negative error.
int Char_Set(Context& ctx);
// Sets every caption of the model's caption tables in gvLANG. Returns 0, or the first
// negative result of a caption whose control or menu item the panel lacks (the others are
// still set).
int Refresh(Context& ctx);
}  // namespace LangS

}  // namespace conf
