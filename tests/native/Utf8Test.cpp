#include <gtest/gtest.h>

#include "common/Utf8.h"

using namespace vexal;

TEST(Utf8, WideTextsAreUtf16WithSurrogatePairs) {
    std::u16string wide;
    ASSERT_TRUE(utf8ToUtf16("a\xC3\xBC\xF0\x9F\x98\x80", wide));
    EXPECT_EQ(wide, u"a\u00FC\U0001F600");
    EXPECT_EQ(utf16ToUtf8(wide), "a\xC3\xBC\xF0\x9F\x98\x80");
}

TEST(Utf8, MalformedInputIsRefusedOrReplaced) {
    struct Row {
        const char* name;
        std::string text;
        std::u16string lenient;
    } rows[] = {
        {"stray continuation", "a\x80" "b", u"a\uFFFDb"},
        {"invalid lead byte", "\xFF", u"\uFFFD"},
        {"cut sequence at the end", "x\xE2\x82", u"x\uFFFD\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::u16string out;
        EXPECT_FALSE(utf8ToUtf16(row.text, out));
        EXPECT_FALSE(utf8ToUtf16(row.text, out, true));
        EXPECT_EQ(out, row.lenient);
    }
}

TEST(Utf8, LoneSurrogatesBecomeReplacementCharacters) {
    bool lossless = true;
    EXPECT_EQ(utf16ToUtf8(std::u16string(u"a") + char16_t(0xDC00), &lossless), "a\xEF\xBF\xBD");
    EXPECT_FALSE(lossless);
}
