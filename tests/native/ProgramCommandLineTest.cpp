#include <gtest/gtest.h>

#include "windows/WinLoader/ProgramCommandLine.h"

using namespace vexal;

// Each row: the argument, how it is written, and (for the reader's sake) the
// C runtime's reading of it, which gives the argument back.
TEST(ProgramCommandLine, ArgumentsComeBackUnchanged) {
    const struct {
        const char* argument;
        const char* written;
    } rows[] = {
        {"-version", "-version"},
        {"c:\\jre\\lib\\rt.jar", "c:\\jre\\lib\\rt.jar"},
        {"", "\"\""},
        {"d:\\java runtimes\\lib\\rt.jar", "\"d:\\java runtimes\\lib\\rt.jar\""},
        {"tab\there", "\"tab\there\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"c:\\dir with blank\\", "\"c:\\dir with blank\\\\\""},   // the closing quote is not escaped
        {"a\\\\\"b", "\"a\\\\\\\\\\\"b\""},                      // two backslashes before a quote
        {"back\\slash only", "\"back\\slash only\""},             // not before a quote: kept single
    };
    for (const auto& row : rows) EXPECT_EQ(quoteProgramArgument(row.argument), row.written) << row.argument;
}

// The program's path is always quoted: unquoted, the system would try
// "d:\java.exe" for "d:\java runtimes\...\java.exe".
TEST(ProgramCommandLine, ProgramAlwaysQuoted) {
    EXPECT_EQ(programCommandLine({"d:\\java runtimes\\bin\\java.exe", "-version"}),
              "\"d:\\java runtimes\\bin\\java.exe\" -version");
    EXPECT_EQ(programCommandLine({"c:\\jre\\bin\\java.exe", "-version"}), "\"c:\\jre\\bin\\java.exe\" -version");
    EXPECT_EQ(programCommandLine({"c:\\my jre\\bin\\unpack200.exe", "-r", "c:\\my jre\\lib\\rt.jar.pack",
                                  "c:\\my jre\\lib\\rt.jar"}),
              "\"c:\\my jre\\bin\\unpack200.exe\" -r \"c:\\my jre\\lib\\rt.jar.pack\" \"c:\\my jre\\lib\\rt.jar\"");
    EXPECT_EQ(programCommandLine({}), "");
}
