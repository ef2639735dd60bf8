#include "platform/qt/key_codes.h"

#include "platform/ui/constants.h"

namespace qtfe {

namespace {

int VirtualKey(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ui::VAL_ENTER_VKEY;
        case Qt::Key_Escape:
            return ui::VAL_ESC_VKEY;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return ui::VAL_TAB_VKEY;
        case Qt::Key_Backspace:
            return ui::VAL_BACKSPACE_VKEY;
        case Qt::Key_Insert:
            return ui::VAL_INSERT_VKEY;
        case Qt::Key_Delete:
            return ui::VAL_FWD_DELETE_VKEY;
        case Qt::Key_Home:
            return ui::VAL_HOME_VKEY;
        case Qt::Key_End:
            return ui::VAL_END_VKEY;
        case Qt::Key_PageUp:
            return ui::VAL_PAGE_UP_VKEY;
        case Qt::Key_PageDown:
            return ui::VAL_PAGE_DOWN_VKEY;
        case Qt::Key_Up:
            return ui::VAL_UP_ARROW_VKEY;
        case Qt::Key_Down:
            return ui::VAL_DOWN_ARROW_VKEY;
        case Qt::Key_Left:
            return ui::VAL_LEFT_ARROW_VKEY;
        case Qt::Key_Right:
            return ui::VAL_RIGHT_ARROW_VKEY;
        default:
            break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return ui::VAL_F1_VKEY + (key - Qt::Key_F1) * 0x100;
    return 0;
}

}  // namespace

int RuntimeKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    int held = 0;
    if (modifiers & Qt::ControlModifier) held |= ui::VAL_MENUKEY_MODIFIER;
    if (modifiers & Qt::AltModifier) held |= ui::VAL_UNDERLINE_MODIFIER;
    if (const int vkey = VirtualKey(qtKey)) {
        // Backtab is Shift+Tab even when the event does not say so.
        if ((modifiers & Qt::ShiftModifier) || qtKey == Qt::Key_Backtab)
            held |= ui::VAL_SHIFT_MODIFIER;
        return vkey | held;
    }
    if (held != 0) {
        // With Ctrl the text is a control character; the key is the printable one (letter keys
        // are the upper-case letters).
        return qtKey >= 0x20 && qtKey <= 0x7E ? qtKey | held : 0;
    }
    if (text.size() != 1) return 0;
    const char16_t ch = text[0].unicode();
    return ch >= 0x20 && ch != 0x7F && ch <= 0xFF ? ch : 0;
}

}  // namespace qtfe
