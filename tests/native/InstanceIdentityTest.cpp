#include <gtest/gtest.h>

#include "process/InstanceIdentity.h"

using namespace vexal;

TEST(InstanceIdentity, SemaphoreNameTurnsEveryBackslashIntoAnUnderscore) {
    EXPECT_EQ(semaphoreNameFromPath("c:\\progra~1\\app\\app.exe"), "c:_progra~1_app_app.exe");
    EXPECT_EQ(semaphoreNameFromPath("\\\\server\\share\\a.exe"), "__server_share_a.exe");
    EXPECT_EQ(semaphoreNameFromPath("plain"), "plain");
    EXPECT_EQ(semaphoreNameFromPath(""), "");
}

TEST(InstanceIdentity, ArgumentsFollowTheProgramNameAndItsSpaces) {
    struct Row {
        const char16_t* commandLine;
        const char16_t* arguments;
    } rows[] = {
        {u"app.exe a b", u"a b"},
        {u"app.exe    a  \"b c\"  ", u"a  \"b c\"  "},
        {u"\"c:\\my apps\\app.exe\" x", u"x"},
        {u"\"c:\\my apps\\app.exe\"   \"quoted  text\" 'y'", u"\"quoted  text\" 'y'"},
        // A name quoted only in part: the quote runs to its partner, then
        // the first space after it ends the name.
        {u"\"c:\\my apps\\app\".exe more", u"more"},
        {u"c:\\app\\app.exe", u""},
        {u"c:\\app\\app.exe   ", u""},
        {u"\"c:\\my apps\\app.exe\"", u""},
        {u"\"c:\\my apps\\app.exe", u""},   // the quote never closes
        {u"app.exe\ta b", u"b"},            // a tab does not separate
        {u"", u""},
        {u"app.exe \u00e9\U0001F600", u"\u00e9\U0001F600"},
    };
    for (const Row& row : rows) {
        const std::u16string line = row.commandLine;
        SCOPED_TRACE(std::string(line.begin(), line.end()));
        EXPECT_EQ(commandLineArguments(line), row.arguments);
    }
}
