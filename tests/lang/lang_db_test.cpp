// The string database: texts per language, code pages, and the failure paths; the status line:
// texts and colours of the numbered messages and of free texts.

#include "lang/lang_db.h"

#include <cstdio>

#include "lang/status_line.h"
#include "platform/sys/codepage.h"
#include "tests/support/fixtures.h"

namespace {

using namespace conf;

class LangDb : public ::testing::Test, public conf_test::StatusPanel {
  protected:
    std::string Text(int id, int language, std::string out = "") {
        LangS::DataBase(ctx, id, language, &out);
        return out;
    }
};

// Every id in all three languages: text present, Chinese in its code page and not left as
// UTF-8, and the menu access key the same as in English. A bad language or id copies nothing.
TEST_F(LangDb, EveryIdResolvesInEveryLanguageAndFailuresCopyNothing) {
    const std::vector<int> ids = LangTextIds();
    EXPECT_EQ(ids.size(), 65u);
    for (int id : ids) {
        const std::string english = Text(id, kLangEnglish);
        EXPECT_FALSE(english.empty()) << id;
        // The access key, as the Chinese texts end on it.
        const std::size_t key = english.find("__");
        std::string mark = key == std::string::npos ? "" : "(" + english.substr(key, 3) + ")";
        if (!mark.empty()) mark[3] = static_cast<char>(std::toupper(mark[3]));
        for (auto [language, page] : {std::pair{kLangTraditional, sys::CodePage::Big5},
                                      std::pair{kLangSimplified, sys::CodePage::Gb2312}}) {
            const std::string bytes = Text(id, language);
            std::string utf8, back;
            ASSERT_EQ(sys::ToUtf8(bytes, page, &utf8), 0) << id;
            ASSERT_EQ(sys::FromUtf8(utf8, page, &back), 0) << id;
            EXPECT_FALSE(bytes.empty()) << id;
            EXPECT_NE(utf8, bytes) << id << " left as UTF-8";
            EXPECT_EQ(back, bytes) << id;
            EXPECT_EQ(utf8.find("__") == std::string::npos, mark.empty()) << id;
            EXPECT_TRUE(utf8.ends_with(mark)) << id << " " << utf8;
        }
    }
    EXPECT_TRUE(fe.Popups().empty());

    EXPECT_EQ(Text(707, kLangEnglish), "Out of Range");
    // From `iconv -f UTF-8 -t BIG5` and `-t GB2312`.
    EXPECT_EQ(Text(707, kLangTraditional), "\xB6\x57\xA5\x58\xBD\x64\xB3\xF2");
    EXPECT_EQ(Text(707, kLangSimplified), "\xB3\xAC\xB3\xF6\xB7\xB6\xCE\xA7");
    EXPECT_EQ(Text(68012, kLangEnglish), "Hysterisis");
    EXPECT_EQ(Text(702, 3, "untouched"), "untouched");
    EXPECT_EQ(Text(702, -1, "untouched"), "untouched");
    EXPECT_TRUE(fe.Popups().empty());  // a bad language is quiet, an unknown id is not
    EXPECT_EQ(Text(999, kLangEnglish, "untouched"), "untouched");
    ASSERT_EQ(fe.Popups().size(), 1u);
    EXPECT_EQ(fe.Popups()[0].title, "");
    EXPECT_EQ(fe.Popups()[0].text, "Lang SID not fount");
}

// On a text message and on a string indicator alike.
TEST(StatusLine, MessagesAndTheirColoursAndNoPanelIsAnError) {
    for (const char* kind : {"textmsg", "string"}) {
        SCOPED_TRACE(kind);
        conf_test::StatusPanel p(kind);
        Context& ctx = p.ctx;
        // The line as shown: its text, then its colour.
        const auto shown = [&p] {
            char rgb[16];
            std::snprintf(rgb, sizeof rgb, " #%06X", p.LineColor());
            return p.LineText() + rgb;
        };
        for (auto [id, line] : {std::pair{43, "Read NG #FF0000"},
                                {45, "Write OK #008000"},
                                {41, "Reading #0000FF"},
                                {46, "Write NG #FF0000"}}) {
            EXPECT_EQ(msg_cfg::SID(ctx, id), 0);
            EXPECT_EQ(shown(), line);
        }
        EXPECT_EQ(msg_cfg::SV(ctx, "COM3 busy"), 0);  // a free text keeps the colour
        EXPECT_EQ(shown(), "COM3 busy #FF0000");
        EXPECT_EQ(msg_cfg::SID(ctx, 48), -1);  // an unknown number changes nothing
        EXPECT_EQ(shown(), "COM3 busy #FF0000");
        EXPECT_EQ(msg_cfg::SV_i32(ctx, -2), 0);
        EXPECT_EQ(shown(), "-2 #FF0000");
        EXPECT_EQ(msg_cfg::SCV(ctx, 0x123456, "Scan done"), 0);
        EXPECT_EQ(shown(), "Scan done #123456");
        EXPECT_TRUE(p.fe.Popups().empty());
        ctx.gvMain = 0;  // no panel: an error, not a crash
        EXPECT_LT(msg_cfg::SV(ctx, "x"), 0);
        EXPECT_LT(msg_cfg::SID(ctx, 42), 0);
    }
}

}  // namespace
