#include <gtest/gtest.h>

#include "files/PathLogic.h"

using namespace vexal;

TEST(PathLogic, RelativeOrNot) {
    struct Row {
        const char* path;
        bool relative;
    } rows[] = {
        {"", true},
        {"a", true},
        {"c:", true},             // shorter than 3
        {"\\\\", true},           // shorter than 3
        {"lib\\a.jar", true},
        {"d:\\a.jar", false},
        {"d:\\", false},
        {"\\\\server\\share", false},
        {"\\single", true},       // rooted on the current drive, still relative here
        {"d:a.jar", true},        // drive-relative
        {"c:/forward", true},     // only the backslash spelling counts
        {".\\x", true},
        {"\"d:\\a.jar\"", false}, // quoted: tested one character further on
        {"\"\\\\srv\\x\"", false},
        {"\"lib\\a.jar\"", true},
        {"\"d:", true},           // quoted, at most 3 characters
        {"\"\\\\", true},
        {"\"d:\\", false},
        {"x\"d:\\", true},        // a quote elsewhere changes nothing
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isRelativePath(row.path), row.relative);
    }
}

TEST(PathLogic, CollapseBackslashesKeepsTheLeadingPair) {
    struct Row {
        std::u16string in;
        std::u16string out;
    } rows[] = {
        {u"", u""},
        {u"\\", u"\\"},
        {u"\\\\", u"\\\\"},
        {u"\\\\\\\\server\\\\share\\\\\\dir", u"\\\\server\\share\\dir"},
        {u"\\\\server\\share", u"\\\\server\\share"},
        {u"c:\\\\dir\\\\\\file", u"c:\\dir\\file"},
        {u"a\\\\b", u"a\\b"},  // the second character is kept, the third joins its run
        {u"c:\\dir\\", u"c:\\dir\\"},
        {u"c:\\dir\\\\", u"c:\\dir\\"},
        {u"\\\\\u00e9t\u00e9\\\\\u4e2d\\\\", u"\\\\\u00e9t\u00e9\\\u4e2d\\"},
        {u"no backslash", u"no backslash"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(collapseBackslashes(row.in), row.out);
    }
}

TEST(PathLogic, JoinToExeDirOnlyForRelativePaths) {
    struct Row {
        const char* path;
        const char* joined;
    } rows[] = {
        {"lib\\a.jar", "c:\\app\\lib\\a.jar"},
        {"", "c:\\app\\"},
        {".", "c:\\app\\."},
        {"d:\\x", "d:\\x"},
        {"\\\\srv\\x", "\\\\srv\\x"},
        {"\\lib", "c:\\app\\\\lib"},  // collapsed afterwards by the caller
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(joinToExeDir("c:\\app\\", row.path), row.joined);
    }
}

TEST(PathLogic, DriveRootSpellings) {
    struct Row {
        const char* path;
        bool root;
    } rows[] = {
        {"c:\\", true},       {"C:\\.\\.", true},    {"z:\\.", true},     {"?:\\", true},
        {"c:", false},        {"c:\\.\\", false},    {"c:\\..", false},   {"c:\\.\\.\\.", false},
        {"c:\\dir", false},   {"cc:\\", false},      {"", false},         {":\\", false},
        {"c:/", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isDriveRootSpelling(row.path), row.root);
    }
}

TEST(PathLogic, ListPiecesAndTheirJoin) {
    struct Row {
        const char* list;
        std::vector<std::string> pieces;
        const char* mapped;  // each piece wrapped in brackets
    } rows[] = {
        {"", {}, ""},
        {";", {}, ""},
        {";;;", {}, ""},
        {"a", {"a"}, "[a]"},
        {"a;b", {"a", "b"}, "[a];[b]"},
        {"a;;b", {"a", "b"}, "[a];[b]"},
        {";a;b;", {"a", "b"}, "[a];[b]"},
        {"lib;c:\\tools", {"lib", "c:\\tools"}, "[lib];[c:\\tools]"},
        {" ; x", {" ", " x"}, "[ ];[ x]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        EXPECT_EQ(splitList(row.list), row.pieces);
        EXPECT_EQ(mapPathList(row.list, [](const std::string& p) { return "[" + p + "]"; }), row.mapped);
    }
}

TEST(PathLogic, ResolvedListAgainstTheExecutableDirectory) {
    const auto resolve = [](const std::string& p) { return joinToExeDir("c:\\app\\", p); };
    EXPECT_EQ(mapPathList("lib;c:\\tools", resolve), "c:\\app\\lib;c:\\tools");
    EXPECT_EQ(mapPathList("bin;", resolve), "c:\\app\\bin");
    EXPECT_EQ(mapPathList("a;;\\\\srv\\b", resolve), "c:\\app\\a;\\\\srv\\b");
}

TEST(PathLogic, ExeSuffix) {
    struct Row {
        const char* path;
        bool exe;
    } rows[] = {
        {"c:\\a\\app.exe", true}, {"APP.EXE", true}, {".exe", true},      {".Exe", true},
        {"exe", false},           {"app.ex", false}, {"app.exe ", false}, {"app.com", false},
        {"", false},              {"a.exe\\", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(hasExeSuffix(row.path), row.exe);
    }
}

TEST(PathLogic, LinuxStyle) {
    struct Row {
        const char* path;
        bool relative;
    } rows[] = {
        {"", true}, {"/", false}, {"/opt/app", false}, {"lib/a.jar", true},
        {"\"/opt\"", false}, {"c:\\x", true}, {"./x", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isRelativePath(row.path, kLinuxPathStyle), row.relative);
        EXPECT_EQ(joinToExeDir("/opt/app/", row.path, kLinuxPathStyle),
                  row.relative ? std::string("/opt/app/") + row.path : std::string(row.path));
    }
    // The Windows style gives the Windows answers.
    EXPECT_FALSE(isRelativePath("d:\\a.jar", kWindowsPathStyle));
    EXPECT_TRUE(isRelativePath("/opt", kWindowsPathStyle));
}

TEST(PathLogic, LinuxNormalization) {
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"/opt/app/../lib/a.jar", "/opt/lib/a.jar"},
        {"/opt//app/./x", "/opt/app/x"},
        {"/opt/app/", "/opt/app/"},
        {"/..", "/"},
        {"/../../etc", "/etc"},
        {"/", "/"},
        {"//", "/"},
        {"/a/b/../../", "/"},
        {"relative/../x", "relative/../x"},
        {"/Case/Kept", "/Case/Kept"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(normalizeLinuxPath(row.in), row.out);
    }
    EXPECT_EQ(collapseSeparators("//opt///app//"), "/opt/app/");
}

TEST(PathLogic, LinuxPathLists) {
    const auto mark = [](const std::string& piece) { return "<" + piece + ">"; };
    EXPECT_EQ(mapPathList("a:b::c:", mark, kLinuxPathStyle), "<a>:<b>:<c>");
    EXPECT_EQ(mapPathList("a;b", mark, kLinuxPathStyle), "<a;b>");
    EXPECT_EQ(mapPathList("a;b", mark, kWindowsPathStyle), "<a>;<b>");
}

// The directories that the search for java.exe (java) walks: relative and
// empty elements would mean the current directory and are left out.
TEST(PathLogic, ExecutableSearchDirectories) {
    using V = std::vector<std::string>;
    const struct {
        const char* name;
        const PathStyle& style;
        const char* path;
        V directories;
    } rows[] = {
        {"absolute ones in order", kWindowsPathStyle, "c:\\jdk\\bin;d:\\tools;\\\\server\\share\\bin",
         {"c:\\jdk\\bin", "d:\\tools", "\\\\server\\share\\bin"}},
        {"empty, dot and relative left out", kWindowsPathStyle, ";.;bin;..\\x;c:rel;\\rooted;c:\\ok;;",
         {"c:\\ok"}},
        {"quotes removed, a quoted semicolon kept", kWindowsPathStyle,
         "\"c:\\program files\\java\\bin\";\"d:\\a;b\";c:\\x\"y\"", {"c:\\program files\\java\\bin", "d:\\a;b", "c:\\xy"}},
        {"a quoted relative element is still relative", kWindowsPathStyle, "\".\";\"bin\"", {}},
        {"blanks around an element dropped", kWindowsPathStyle, " c:\\a ; c:\\b\t", {"c:\\a", "c:\\b"}},
        {"forward slashes", kWindowsPathStyle, "c:/jdk/bin;//server/share", {"c:/jdk/bin", "//server/share"}},
        {"a lone drive letter is relative", kWindowsPathStyle, "c:;c", {}},
        {"nothing", kWindowsPathStyle, "", {}},
        {"Linux: absolute ones in order", kLinuxPathStyle, "/usr/local/bin:/usr/bin", {"/usr/local/bin", "/usr/bin"}},
        {"Linux: empty and relative left out", kLinuxPathStyle, ":.:bin::/usr/bin:", {"/usr/bin"}},
        {"Linux: quotes and blanks are part of a name", kLinuxPathStyle, "\"/q\": /b:/with blank",
         {"/with blank"}},
    };
    for (const auto& row : rows) EXPECT_EQ(executableSearchDirectories(row.path, row.style), row.directories) << row.name;
}
