#include "platform/qt/text_codec.h"

#include "platform/sys/codepage.h"
#include "platform/ui/constants.h"

namespace qtfe {

namespace {

sys::CodePage CodePageOf(int charset) {
    switch (charset) {
        case ui::VAL_BIG5_CHARSET:
            return sys::CodePage::Big5;
        case ui::VAL_GB2312_CHARSET:
            return sys::CodePage::Gb2312;
        default:
            return sys::CodePage::Utf8;
    }
}

}  // namespace

QString DecodeText(const std::string& bytes, int charset) {
    std::string utf8;
    if (sys::ToUtf8(bytes, sys::CodePage::Utf8, &utf8) == 0) {
        const QString text = QString::fromStdString(utf8);
        // Big5 and GB2312 texts can happen to be valid UTF-8 too (GB2312 "同位元" reads as
        // "ͬλԪ", "模式" as "ģʽ"); such text decodes to letters beyond the Latin-1 symbols a
        // resource uses ("°C").
        bool plainSymbols = true;
        for (QChar ch : text)
            if (ch.unicode() >= 0x0100) plainSymbols = false;
        std::string decoded;
        const sys::CodePage page = CodePageOf(charset);
        if (plainSymbols || page == sys::CodePage::Utf8 || sys::ToUtf8(bytes, page, &decoded) != 0)
            return text;
        return QString::fromStdString(decoded);
    }
    return QString::fromStdString(sys::ToUtf8Lossy(bytes, CodePageOf(charset)));
}

QString DecodePopupText(const std::string& bytes, int charset) {
    std::string utf8;
    if (sys::ToUtf8(bytes, sys::CodePage::Utf8, &utf8) == 0) return QString::fromStdString(utf8);
    return QString::fromStdString(sys::ToUtf8Lossy(bytes, CodePageOf(charset)));
}

std::string EncodeText(const QString& text, int charset) {
    const std::string utf8 = text.toStdString();
    const sys::CodePage page = CodePageOf(charset);
    std::string out;
    if (page == sys::CodePage::Utf8 || sys::FromUtf8(utf8, page, &out) != 0) return utf8;
    return out;
}

QString MnemonicCaption(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'_' && i + 1 < caption.size() && caption[i + 1] == u'_') {
            out += u'&';
            ++i;
        } else if (caption[i] == u'&') {
            out += QStringLiteral("&&");
        } else {
            out += caption[i];
        }
    }
    return out;
}

}  // namespace qtfe
