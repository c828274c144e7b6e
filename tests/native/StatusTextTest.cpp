#include <gtest/gtest.h>

#include <string>

#include "splash/StatusText.h"

using namespace vexal;

namespace {

// Stand-ins for the code page conversion: one byte per unit (a surrogate
// pair gives one '?'), or two bytes per unit as in a double-byte code page.
std::string oneBytePerCharacter(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
            ++i;
            out += '?';
        } else {
            out += unit < 0x80 ? static_cast<char>(unit) : '?';
        }
    }
    return out;
}

std::string twoBytesPerUnit(const std::u16string& text) {
    std::string out;
    for (char16_t unit : text) {
        out += static_cast<char>(0x80 | (unit >> 8 & 0x7F));
        out += static_cast<char>(unit & 0xFF);
    }
    return out;
}

TEST(StatusLineText, ReadsNoFurtherThanTheCountOrTheFirstZero) {
    const char16_t text[] = u"Loading\0hidden tail";
    struct Row {
        const char16_t* text;
        std::size_t length;
        std::string expected;
    } rows[] = {
        {text, 7, "Loading"},
        {text, 4, "Load"},
        {text, sizeof text / sizeof text[0] - 1, "Loading"},  // stops at the zero
        {text, 0, ""},
        {nullptr, 5, ""},
        {u"caf\u00e9", 4, "caf?"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(statusLineText(row.text, row.length, oneBytePerCharacter), row.expected) << row.expected;
    }
}

// No text may be longer than its buffer; the cut falls between characters.
TEST(StatusLineText, CutsToTheBufferAtACharacterBoundary) {
    struct Row {
        const char* name;
        std::u16string text;
        NarrowConverter convert;
        std::size_t buffer;
        std::size_t keptUnits;
    } rows[] = {
        {"fits exactly", std::u16string(9, u'a'), oneBytePerCharacter, 10, 9},
        {"one too long", std::u16string(10, u'a'), oneBytePerCharacter, 10, 9},
        {"the launcher's buffer", std::u16string(20000, u'x'), oneBytePerCharacter, 8192, 8191},
        {"double-byte, odd room", std::u16string(10, u'\u4e2d'), twoBytesPerUnit, 10, 4},
        {"double-byte, even room", std::u16string(10, u'\u4e2d'), twoBytesPerUnit, 11, 5},
        {"a buffer of one byte", u"abc", oneBytePerCharacter, 1, 0},
    };
    for (const Row& row : rows) {
        std::string narrow = statusLineText(row.text.data(), row.text.size(), row.convert, row.buffer);
        EXPECT_LT(narrow.size(), row.buffer) << row.name;
        EXPECT_EQ(narrow, row.convert(row.text.substr(0, row.keptUnits))) << row.name;
    }
}

TEST(StatusLineText, NeverSplitsASurrogatePair) {
    // Four bytes of room: "ab" then a pair that converts to one byte would fit
    // as "ab?" only when both halves go together.
    const std::u16string text = u"ab\U0001F600cd";
    EXPECT_EQ(statusLineText(text.data(), text.size(), oneBytePerCharacter, 4), "ab?");
    EXPECT_EQ(statusLineText(text.data(), text.size(), twoBytesPerUnit, 7).size(), 4u);
    EXPECT_EQ(statusLineText(text.data(), 3, oneBytePerCharacter, 4), "ab?");  // a lone half
}

}  // namespace
