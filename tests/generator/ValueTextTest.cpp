#include <gtest/gtest.h>

#include "generator/TextEncoding.h"
#include "generator/ValueText.h"

using namespace vexal::gen;

TEST(ValueText, CommandLinesQuoteWhatTheLauncherWouldSplit) {
    struct Case {
        std::vector<std::string> arguments;
        std::string text;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{"-Xmx256m"}, "-Xmx256m"},
        {{"-a", "-b"}, "-a -b"},
        {{"two words"}, "\"two words\""},
        {{""}, "\"\""},
        {{"it's"}, "\"it's\""},
        {{"say \"hi\""}, "'say \"hi\"'"},
        {{"-Dq=\"x\""}, "'-Dq=\"x\"'"},  // a quote inside an argument would split it
        {{"c:\\dir\\"}, "c:\\dir\\"},   // backslashes are ordinary
        {{"tab\there"}, "tab\there"},   // only blanks separate
    };
    for (const auto& c : cases) EXPECT_EQ(joinCommandLine(c.arguments), c.text);
    EXPECT_THROW(joinCommandLine({"both \" and '"}), ValueError);
}

TEST(ValueText, ListsEndWithTheSeparatorAndRefuseAmbiguousItems) {
    EXPECT_EQ(joinList({}), "");
    EXPECT_EQ(joinList({"A1hello.jar", "D0lib"}), "A1hello.jar;D0lib;");
    EXPECT_THROW(joinList({"A1a.jar", ""}), ValueError);
    EXPECT_THROW(joinList({"A1a.jar;b.jar"}), ValueError);
}

TEST(ValueText, MessageLineBreaksBecomeCrLfOnce) {
    EXPECT_EQ(withCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(withCrLf("a\r\nb"), "a\r\nb");
    EXPECT_EQ(withCrLf("\n"), "\r\n");
}

TEST(TextEncoding, NarrowTextsAreWindows1252) {
    struct Case {
        std::string utf8;
        bool ok;
        std::string cp1252;
    };
    const std::vector<Case> cases = {
        {"plain", true, "plain"},
        {"\xC3\xA9", true, "\xE9"},            // e acute
        {"\xE2\x82\xAC", true, "\x80"},        // euro sign
        {"\xC5\xA0", true, "\x8A"},            // S caron
        {"\xE5\x90\x8D", false, ""},           // CJK
        {"\xC2\x81", false, ""},               // undefined in the code page
        {"\xC3", false, ""},                   // cut short
        {"\xC0\xAF", false, ""},               // overlong
        {"\xED\xA0\x80", false, ""},           // surrogate
    };
    for (const auto& c : cases) {
        std::string out, bad;
        EXPECT_EQ(utf8ToCp1252(c.utf8, out, bad), c.ok) << c.utf8;
        if (c.ok) {
            EXPECT_EQ(out, c.cp1252);
            EXPECT_EQ(cp1252ToUtf8(out), c.utf8);
        }
    }
}
