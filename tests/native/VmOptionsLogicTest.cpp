#include <gtest/gtest.h>

#include <cstdio>

#include "windows/JavaVMLauncher/VmOptionsLogic.h"

using namespace vexal;

namespace {

std::vector<std::string> readLines(const std::string& content) {
    std::FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::rewind(file);
    std::vector<std::string> lines = readVmOptionsLines(file);
    std::fclose(file);
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(VmOptionsLogic, ReaderTable) {
    struct Row {
        const char* name;
        std::string content;
        Lines lines;
    } rows[] = {
        {"three lines, the middle one empty", "-Xms64m\n\n-Dfoo=bar\n", {"-Xms64m", "", "-Dfoo=bar"}},
        {"CR LF", "-Xms64m\r\n-Dx=1\r\n", {"-Xms64m", "-Dx=1"}},
        {"run of CR and LF ends one line", "-Da=1\r\r\n\n", {"-Da=1", ""}},
        {"CR alone inside a line stays", "-Da=1\rb\n", {"-Da=1\rb"}},
        {"spaces before the line end stay", "-Da=1  \r\n", {"-Da=1  "}},
        {"hash is an option", "# not a comment\n", {"# not a comment"}},
        {"no final newline", "-Xmx1g\n-Dlast=1", {"-Xmx1g", "-Dlast=1"}},
        {"variables stay", "-Dd=%VEXAL_EXEDIR%\n", {"-Dd=%VEXAL_EXEDIR%"}},
        {"quotes stay", "\"-Da=b c\"\n", {"\"-Da=b c\""}},
        {"empty file", "", {}},
        {"a single empty line", "\n", {""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readLines(row.content), row.lines);
    }
}

TEST(VmOptionsLogic, LongLinesArriveInPiecesOfAtMost8191Bytes) {
    const std::string line(20000, 'x');
    const Lines lines = readLines(line + "\n-Dnext=1\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::string(8191, 'x'));
    EXPECT_EQ(lines[1], std::string(8191, 'x'));
    EXPECT_EQ(lines[2], std::string(20000 - 2 * 8191, 'x'));
    EXPECT_EQ(lines[3], "-Dnext=1");

    // A line of exactly 8191 bytes gains no empty option from its own line
    // end, while a real empty line behind it stays.
    const std::string full(kVmOptionsReadBytes, 'y');
    EXPECT_EQ(readLines(full + "\n\n-Da\n"), (Lines{full, "", "-Da"}));
    EXPECT_EQ(readLines(full + "\r\n-Da"), (Lines{full, "-Da"}));
    EXPECT_EQ(readLines(std::string(8190, 'z') + "\r\n"), (Lines{std::string(8190, 'z')}));
}

TEST(VmOptionsLogic, JArguments) {
    const ArgumentList arguments = {u"-Japp.exe", u"-J-Xmx512m", u"-J", u"-j-Xss1m", u"x-J", u"J-", u"-J-Dn=\u00e9",
                                    u"-"};
    const std::vector<std::string> options = jArgumentOptions(arguments);
    ASSERT_EQ(options.size(), 4u);
    EXPECT_EQ(options[0], "app.exe");
    EXPECT_EQ(options[1], "-Xmx512m");
    EXPECT_EQ(options[2], "");
    EXPECT_EQ(options[3].substr(0, 4), "-Dn=");  // the rest in the narrow code page
}

// What jps and jcmd show for the process: the application's main class and
// the arguments its main receives, as java sets it.
TEST(VmOptionsLogic, JavaCommandNamesTheMainClassAndItsArguments) {
    struct Case {
        const char* name;
        std::string configured;
        ArgumentList commandLine;
        bool dropJ;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"no arguments", "", {u"app.exe"}, true, "com.example.Main"},
        {"no command line at all", "", {}, true, "com.example.Main"},
        {"configured, then the user's", "--mode \"a b\"", {u"app.exe", u"one", u"two words"}, true,
         "com.example.Main --mode \"a b\" one two words"},
        {"-J arguments dropped", "", {u"app.exe", u"-J-Xmx1g", u"x", u"-j-kept"}, true, "com.example.Main x -j-kept"},
        {"-J arguments kept when main gets them", "", {u"app.exe", u"-J-Xmx1g"}, false, "com.example.Main -J-Xmx1g"},
        {"empty arguments keep their place", "", {u"app.exe", u"", u"z"}, true, "com.example.Main  z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(javaCommandProperty("com.example.Main", c.configured, c.commandLine, c.dropJ),
                  "-Dsun.java.command=" + c.expected)
            << c.name;
    }
}

TEST(VmOptionsLogic, SourcesInTheirOrder) {
    EXPECT_EQ(orderVmOptions({"-Dvexal.semaphoreName=s", "-Dvexal.tempDir=t"}, {"-Xms64m", ""}, "-Djava.class.path=;",
                             {"-Xmx256m"}, {"-Xss1m"}),
              (Lines{"-Dvexal.semaphoreName=s", "-Dvexal.tempDir=t", "-Xms64m", "", "-Djava.class.path=;", "-Xmx256m",
                     "-Xss1m"}));
    EXPECT_EQ(orderVmOptions({}, {}, "-Djava.class.path=;", {}, {}), (Lines{"-Djava.class.path=;"}));
}
