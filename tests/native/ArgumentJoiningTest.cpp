#include <gtest/gtest.h>

#include "launcher/ArgumentJoining.h"
#include "common/ArgumentSplitting.h"

using namespace vexal;

TEST(ArgumentJoining, QuotesOnlyWhatNeedsIt) {
    struct Row {
        const char* argument;
        const char* quoted;
    } rows[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"-Dx=\"a b\"", "'-Dx=\"a b\"'"},
        {"it's", "\"it's\""},
        {"tab\there", "tab\there"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.argument);
        EXPECT_EQ(quoteArgument(row.argument), row.quoted);
    }
}

// The launcher and the Java side split an argument text by the same rules:
// whatever the kernel handed over must come back the same.
TEST(ArgumentJoining, SplittingGivesTheArgumentsBack) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"a"},
        {"a", "b c", "d"},
        {"", "x", ""},
        {"  leading", "trailing  ", "in  side"},
        {"say \"hi\"", "it's", "'quoted'"},
        {"-J-Xmx64m", "-Dname=value with blanks"},
        {"\xC3\xA4rger", "caf\xC3\xA9 au lait"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const std::string text = joinArguments(arguments);
        SCOPED_TRACE(text);
        NarrowArgumentList back;
        ASSERT_TRUE(splitAnsiText(text, back));
        EXPECT_EQ(back, arguments);
    }
}

// Both kinds of quote have no exact form: the double quotes are dropped, the
// argument stays one argument and later ones keep their place.
TEST(ArgumentJoining, BothQuoteKindsStayOneArgument) {
    NarrowArgumentList back;
    ASSERT_TRUE(splitAnsiText(joinArguments({"a\"b'c d", "next"}), back));
    EXPECT_EQ(back, (NarrowArgumentList{"ab'c d", "next"}));
}
