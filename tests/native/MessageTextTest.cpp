#include <gtest/gtest.h>

#include "config/MessageText.h"

using namespace vexal;

TEST(MessageText, PlaceholderReplacement) {
    struct Row {
        const char* name;
        std::string text;
        const char* placeholder;
        std::string value;
        std::string expected;
    } rows[] = {
        {"typical 1009", "An internal error occurred (error code: %ERROR_CODE%)", "%ERROR_CODE%", "16",
         "An internal error occurred (error code: 16)"},
        {"first occurrence only", "%E% and %E%", "%E%", "x", "x and %E%"},
        {"value not searched again", "a %E% b", "%E%", "%E%%E%", "a %E%%E% b"},
        {"missing placeholder", "no placeholder here", "%FILE_NAME%", "f", "no placeholder here"},
        {"no placeholder given", "text %E%", nullptr, "x", "text %E%"},
        {"empty text", "", "%E%", "x", ""},
        {"at the very end", "path: %DEFINED_PATH%", "%DEFINED_PATH%", "c:\\jre", "path: c:\\jre"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(replacePlaceholder(row.text, row.placeholder, row.value), row.expected);
    }
}

TEST(MessageText, ReplacementIsCutToTheMessageBuffer) {
    std::string out = replacePlaceholder("<%E%>", "%E%", std::string(9000, 'v'));
    EXPECT_EQ(out.size(), 8191u);
    EXPECT_EQ(out[0], '<');
}

TEST(MessageText, LogNote) {
    EXPECT_EQ(composeErrorText("Boom", ""), "Boom");
    EXPECT_EQ(composeErrorText("Boom", "C:\\temp\\kvl_nlog_1"), "Boom\n\nLog: C:\\temp\\kvl_nlog_1");
    // An over-long message gives way to the note.
    std::string out = composeErrorText(std::string(9000, 'm'), "c:\\kvl_nlog");
    EXPECT_EQ(out.size(), 8191u);
    EXPECT_EQ(out.substr(out.size() - 18), "\n\nLog: c:\\kvl_nlog");
}
