#pragma once
// Qt key events as the runtime's EVENT_KEYPRESS codes (constants.h).

#include <QString>
#include <Qt>

namespace qtfe {

// The runtime key code of a key press, or 0 for keys the runtime has no code for (modifier
// keys alone, characters beyond Latin-1). Virtual keys carry Shift, Ctrl and Alt; a character
// typed with Ctrl or Alt arrives as its key, letters in upper case ('O' | VAL_MENUKEY_MODIFIER
// for Ctrl+O, shifted or not); any other character as itself, e.g. '`' as 0x60.
int RuntimeKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace qtfe
