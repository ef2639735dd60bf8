#pragma once
// Panel texts are byte strings in the character set of their panel; Qt shows QString.

#include <QString>

#include <string>

namespace qtfe {

// Text that is valid UTF-8 is taken as UTF-8 whatever the charset: resource files are UTF-8, so a
// Big5 panel mixes UTF-8 labels from its resource with Big5 texts the program sets. Anything
// else is decoded in the panel's code page (ATTR_CHARSET), undecodable bytes becoming U+FFFD.
// A text valid both ways is UTF-8 only while it decodes to ASCII and Latin-1 characters (such
// as "°C"); beyond that it is taken as the code-page text it then almost surely is.
QString DecodeText(const std::string& bytes, int charset);

// Popup texts are put together by the program: its own words in ASCII and names from the file
// system, which are UTF-8 and shown as the file system names them (a Chinese path stays itself
// under a Big5 or GB2312 panel). Only text that is not UTF-8 (a text of the language database)
// is decoded in the panel's code page, as DecodeText does.
QString DecodePopupText(const std::string& bytes, int charset);

// What the user typed, in the panel's code page; text the code page cannot hold stays UTF-8
// (DecodeText shows it correctly either way).
std::string EncodeText(const QString& text, int charset);

// Menu and button captions mark their mnemonic letter with "__"; Qt marks it with "&", so a
// literal "&" becomes "&&".
QString MnemonicCaption(const QString& caption);

}  // namespace qtfe
