// Every text of the configurator's language database and of Scan's language table reaches the
// screen as the Chinese it stands for: its Big5 or GB2312 bytes, decoded in the charset the
// program gives its panel, are the same characters (none taken for UTF-8, none lost to U+FFFD).

#include <gtest/gtest.h>

#include <QString>

#include "core/context.h"
#include "lang/lang_db.h"
#include "models/model_a.h"
#include "platform/qt/text_codec.h"
#include "platform/sys/codepage.h"
#include "platform/sys/launch.h"
#include "platform/ui/headless.h"
#include "platform/ui/runtime.h"
#include "scan/lang_table.h"

namespace {

struct Variant {
    int language;
    int charset;
    sys::CodePage page;
};
const Variant kVariants[] = {{1, ui::VAL_BIG5_CHARSET, sys::CodePage::Big5},
                             {2, ui::VAL_GB2312_CHARSET, sys::CodePage::Gb2312}};

// bytes of text `id` in the variant's language, shown in its charset, are what they encode.
void ExpectShownAsEncoded(int id, const Variant& v, const std::string& bytes) {
    std::string utf8;
    ASSERT_FALSE(bytes.empty()) << id;
    ASSERT_EQ(sys::ToUtf8(bytes, v.page, &utf8), 0) << id;
    const QString shown = qtfe::DecodeText(bytes, v.charset);
    EXPECT_EQ(shown, QString::fromStdString(utf8)) << id << " in language " << v.language;
    EXPECT_FALSE(shown.contains(QChar(0xFFFD))) << id;
}

TEST(LanguageDatabaseOnScreen, EveryChineseTextOfTheConfiguratorsDecodesInItsPanelCharset) {
    ui::CallbackRegistry registry;
    ui::HeadlessFrontEnd fe;
    ui::Runtime rt{fe, registry};
    sys::RecordingLauncher launcher;
    conf::Context ctx{rt, launcher, conf::ModelA()};
    for (int id : conf::LangTextIds()) {
        std::string english;
        conf::LangS::DataBase(ctx, id, conf::kLangEnglish, &english);
        EXPECT_EQ(qtfe::DecodeText(english, ui::VAL_BIG5_CHARSET), QString::fromStdString(english));
        for (const Variant& v : kVariants) {
            std::string bytes;
            conf::LangS::DataBase(ctx, id, v.language, &bytes);
            ExpectShownAsEncoded(id, v, bytes);
        }
    }
    EXPECT_TRUE(fe.Popups().empty());
}

TEST(LanguageDatabaseOnScreen, EveryChineseTextOfScanDecodesInItsPanelCharset) {
    for (int id : scan::ScanTextIds()) {
        if (id == 0) continue;  // the empty status text
        for (const Variant& v : kVariants) {
            std::string bytes;
            scan::LangS::DataBase(id, v.language, &bytes);
            ExpectShownAsEncoded(id, v, bytes);
        }
    }
}

// A popup's path is the file system's UTF-8 even where the same bytes would pass for text of
// the panel's code page, as the UTF-8 of "база" passes for four GB2312 characters.
TEST(PopupText, APathShowsAsTheFileSystemNamesItUnderEveryCharset) {
    const std::string text = "open file NG :: /home/база/1.txt";
    std::string gb;
    ASSERT_EQ(sys::ToUtf8(text, sys::CodePage::Gb2312, &gb), 0);
    EXPECT_NE(QString::fromStdString(gb), QString::fromStdString(text));
    for (int charset : {ui::VAL_NATIVE_CHARSET, ui::VAL_BIG5_CHARSET, ui::VAL_GB2312_CHARSET})
        EXPECT_EQ(qtfe::DecodePopupText(text, charset), QString::fromStdString(text)) << charset;
    // Bytes that are no UTF-8 are the language database's, in the panel's code page.
    EXPECT_EQ(qtfe::DecodePopupText("\xB6\x7D\xA9\x6C", ui::VAL_BIG5_CHARSET),
              QString::fromUtf8("開始"));
}

}  // namespace
