// The string database: texts per language, code pages, and the failure paths.

#include "lang/lang_db.h"

#include <gtest/gtest.h>

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

TEST_F(LangDb, TextsInEachLanguageAndFailuresCopyNothing) {
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

// Every id in all three languages: text present, Chinese in its code page and not left as
// UTF-8, and the menu access key the same as in English.
TEST_F(LangDb, EveryIdResolvesInEveryLanguage) {
    const std::vector<int> ids = LangTextIds();
    EXPECT_EQ(ids.size(), 65u);
    for (int id : ids) {
        const std::string english = Text(id, kLangEnglish);
        EXPECT_FALSE(english.empty()) << id;
        for (auto [language, page] : {std::pair{kLangTraditional, sys::CodePage::Big5},
                                      std::pair{kLangSimplified, sys::CodePage::Gb2312}}) {
            const std::string bytes = Text(id, language);
            std::string utf8, back;
            ASSERT_EQ(sys::ToUtf8(bytes, page, &utf8), 0) << id;
            ASSERT_EQ(sys::FromUtf8(utf8, page, &back), 0) << id;
            EXPECT_FALSE(bytes.empty()) << id;
            EXPECT_NE(utf8, bytes) << id << " left as UTF-8";
            EXPECT_EQ(back, bytes) << id;
            std::size_t key = english.find("__");
            std::string mark =
                key == std::string::npos
                    ? ""
                    : std::string("(__") + static_cast<char>(std::toupper(english[key + 2])) + ")";
            EXPECT_EQ(utf8.find("__") == std::string::npos, mark.empty()) << id;
            EXPECT_TRUE(utf8.ends_with(mark)) << id << " " << utf8;
        }
    }
    EXPECT_TRUE(fe.Popups().empty());
}

}  // namespace
