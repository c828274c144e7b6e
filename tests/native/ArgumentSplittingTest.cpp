#include <gtest/gtest.h>

#include "common/ArgumentSplitting.h"

using namespace vexal;

namespace {

std::vector<std::string> split(const std::string& text, bool* closed = nullptr) {
    NarrowArgumentList list;
    const bool ok = splitAnsiText(text, list);
    if (closed) *closed = ok;
    return list;
}

using Args = std::vector<std::string>;

}  // namespace

TEST(ArgumentSplitting, Table) {
    struct Row {
        const char* text;
        Args arguments;
    } rows[] = {
        {"app.exe one two", {"app.exe", "one", "two"}},
        {"\"c:\\program files\\app.exe\" -x", {"c:\\program files\\app.exe", "-x"}},
        {"a  b", {"a", "b"}},
        {"'single quoted' \"double quoted\"", {"single quoted", "double quoted"}},
        {"\"it's\"", {"it's"}},
        {"'say \"hi\"'", {"say \"hi\""}},
        {"\"\" x", {"", "x"}},
        {"''", {""}},
        {"\"a\"b", {"a", "b"}},
        {"\"a\"  b", {"a", "b"}},
        {"c:\\dir\\ \"x\"", {"c:\\dir\\", "x"}},
        {"a\tb c", {"a\tb", "c"}},
        {"\ta\t", {"\ta\t"}},
        {"a\r\nb", {"a\r\nb"}},
        {"", {}},
        {"   ", {}},
        {"one ", {"one"}},
        {"one   ", {"one"}},
        {"  lead", {"lead"}},
        {"last", {"last"}},
        {"\"-Xmx256m\"", {"-Xmx256m"}},
        {"-Xms64m -Xmx512m", {"-Xms64m", "-Xmx512m"}},
        // A quote inside an argument keeps the leading characters and loses
        // only the quotes; the closing quote ends the argument.
        {"-Dname=\"a b\"", {"-Dname=a b"}},
        {"-Dname='a b' next", {"-Dname=a b", "next"}},
        {"-Dx=\"a\"tail", {"-Dx=a", "tail"}},
        {"ab\"\"", {"ab"}},
        {"it's' x", {"its", "x"}},
        {"a\"b c\" d", {"ab c", "d"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        bool closed = false;
        EXPECT_EQ(split(row.text, &closed), row.arguments);
        EXPECT_TRUE(closed);
    }
}

TEST(ArgumentSplitting, UnclosedQuoteIsReportedWithTheArgumentsBeforeIt) {
    struct Row {
        const char* text;
        Args before;
    } rows[] = {
        {"\"open", {}},
        {"a 'open", {"a"}},
        {"a b -Dx=\"open", {"a", "b"}},
        {"\"a\" 'b\"", {"a"}},
        {"'", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        bool closed = true;
        EXPECT_EQ(split(row.text, &closed), row.before);
        EXPECT_FALSE(closed);
    }
}

TEST(ArgumentSplitting, TakeQuotedArgumentReturnsWhereScanningGoesOn) {
    struct Row {
        std::u16string text;
        std::size_t q, p;
        char16_t quote;
        std::u16string argument;
        std::size_t next;
    } rows[] = {
        {u"\"ab\" c", 0, 0, u'"', u"ab", 5},   // the blank after the quote is stepped over
        {u"\"ab\"c", 0, 0, u'"', u"ab", 4},
        {u"\"ab\"", 0, 0, u'"', u"ab", 4},
        {u"x=\"a\"  y", 2, 0, u'"', u"x=a", 6},  // only one blank
        {u"'a\"b'", 0, 0, u'\'', u"a\"b", 5},
    };
    for (const Row& row : rows) {
        ArgumentList list;
        EXPECT_EQ(takeQuotedArgument(list, row.text, row.q, row.p, row.quote), row.next);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], row.argument);
    }
    ArgumentList list;
    EXPECT_EQ(takeQuotedArgument(list, u"\"open", 0, 0, u'"'), kUnclosedQuote);
    EXPECT_TRUE(list.empty());
}

TEST(ArgumentSplitting, WideArgumentsAndTheirNarrowCopies) {
    ArgumentList wide;
    ASSERT_TRUE(splitArgumentText(u"\"c:\\\u00e4 x\\app.exe\" \u4e2d\u6587 \U0001F600", wide));
    EXPECT_EQ(wide, (ArgumentList{u"c:\\\u00e4 x\\app.exe", u"\u4e2d\u6587", u"\U0001F600"}));

    // Appends to what the list holds already.
    NarrowArgumentList narrow{"first"};
    ASSERT_TRUE(splitNarrowText(u"a \xD800 b", narrow));
    ASSERT_EQ(narrow.size(), 4u);
    EXPECT_EQ(narrow[0], "first");
    EXPECT_EQ(narrow[1], "a");
    EXPECT_EQ(narrow[3], "b");
    // A lone surrogate has no narrow form: a replacement character stands for it.
    EXPECT_TRUE(narrow[2] == "?" || narrow[2] == "\xEF\xBF\xBD") << narrow[2];
}

TEST(ArgumentSplitting, AnsiTextIsCutToItsWideBuffer) {
    const std::string longText(9000, 'x');
    const Args arguments = split(longText);
    ASSERT_EQ(arguments.size(), 1u);
    EXPECT_EQ(arguments[0].size(), kAnsiArgumentChars);
}
