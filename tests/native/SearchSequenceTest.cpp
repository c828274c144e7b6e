#include "windows/WinLoader/SearchSequence.h"

#include <gtest/gtest.h>

using namespace vexal;

namespace {

std::string render(const std::vector<SearchLocation>& locations) {
    std::string text;
    for (const SearchLocation& location : locations) text += std::string(1, location.letter) + "[" + location.argument + "]";
    return text;
}

}  // namespace

TEST(ParseSearchSequence, SplitsIntoLettersAndArguments) {
    struct Row {
        const char* sequence;
        const char* locations;
    } rows[] = {
        {"B.\\jre;Y;EJAVA_HOME;EJDK_HOME;", "B[.\\jre]Y[]E[JAVA_HOME]E[JDK_HOME]"},
        {"", ""},
        {";", ""},
        {";;A c:\\java;;S", "A[ c:\\java]S[]"},
        {"Q", "Q[]"},
        {"yX;aB", "y[X]a[B]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sequence);
        EXPECT_EQ(render(parseSearchSequence(row.sequence)), row.locations);
    }
}

TEST(TrimLineEnd, RemovesEveryTrailingLineEnd) {
    EXPECT_EQ(trimLineEnd("c:\\java\r\n"), "c:\\java");
    EXPECT_EQ(trimLineEnd("c:\\java\n\r\n\r"), "c:\\java");
    EXPECT_EQ(trimLineEnd("\r\n"), "");
    EXPECT_EQ(trimLineEnd("c:\\a\rb "), "c:\\a\rb ");
}

TEST(JvmKeyName, EncodesBackslashesAsSlashes) {
    const std::string path = "c:\\program files\\java\\jre1.5.0_06\\bin\\java.exe";
    const std::string name = "c:/program files/java/jre1.5.0_06/bin/java.exe";
    EXPECT_EQ(encodeJvmKeyName(path), name);
    EXPECT_EQ(decodeJvmKeyName(name), path);
    EXPECT_EQ(encodeJvmKeyName("\\\\srv\\share\\java.exe"), "//srv/share/java.exe");
}

TEST(JavaExecutableDirectory, DropsTheFileName) {
    const struct {
        const PathStyle& style;
        const char* executable;
        const char* directory;
    } rows[] = {
        {kWindowsPathStyle, "c:\\jre\\bin\\java.exe", "c:\\jre\\bin\\"},
        {kWindowsPathStyle, "c:\\jre\\bin\\javaw.exe", "c:\\jre\\bin\\"},
        {kWindowsPathStyle, "c:\\jre\\bin\\JAVAW.EXE", "c:\\jre\\bin\\J"},  // case-sensitive test
        {kWindowsPathStyle, "java", ""},
        {kLinuxPathStyle, "/usr/lib/jvm/jdk/bin/java", "/usr/lib/jvm/jdk/bin/"},
        {kLinuxPathStyle, "/opt/my java/bin/java", "/opt/my java/bin/"},
        {kLinuxPathStyle, "/jdk/bin/../jre/bin/java", "/jdk/bin/../jre/bin/"},
        {kLinuxPathStyle, "/java", "/"},
        {kLinuxPathStyle, "java", ""},
        {kLinuxPathStyle, "c:\\jre\\bin\\java.exe", ""},  // a backslash is no separator here
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.executable);
        EXPECT_EQ(javaExecutableDirectory(row.executable, row.style), row.directory);
    }
}

TEST(StyledPath, TurnsBackslashesIntoTheStylesSeparator) {
    EXPECT_EQ(styledPath("\\.korvalith\\pref_jre.cfg", kWindowsPathStyle), "\\.korvalith\\pref_jre.cfg");
    EXPECT_EQ(styledPath("\\.korvalith\\pref_jre.cfg", kLinuxPathStyle), "/.korvalith/pref_jre.cfg");
    EXPECT_EQ(styledPath("", kLinuxPathStyle), "");
}
