#include <gtest/gtest.h>
#include <windows.h>

#include "files/PathHelpers.h"
#include "tests/wine/WinScratch.h"

using namespace vexal;
using vexal::testing::ScratchDir;
using vexal::testing::writeFile;

namespace {

std::string lower(std::string s) {
    if (!s.empty()) CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

std::string withoutTrailingBackslash(std::string s) {
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

}  // namespace

TEST(OwnExePath, ShortLowerCaseAndOurOwnFile) {
    const std::string& exe = ownExePath();
    EXPECT_EQ(toLowerPath(exe), exe);
    EXPECT_EQ(exe.find("\\\\", 2), std::string::npos);
    ASSERT_GE(exe.size(), 4u);
    EXPECT_EQ(exe.substr(exe.size() - 4), ".exe");

    char module[MAX_PATH], named[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, module, sizeof module), 0u);
    ASSERT_GT(GetLongPathNameA(exe.c_str(), named, sizeof named), 0u);
    EXPECT_EQ(lstrcmpiA(named, module), 0) << named << " vs " << module;

    const std::string& dir = executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_EQ(exe.compare(0, dir.size(), dir), 0) << dir << " / " << exe;
    EXPECT_EQ(exe.find('\\', dir.size()), std::string::npos);
}

TEST(AbsolutePath, FullNameWithOrWithoutCase) {
    const std::string dir = executableDirectory();
    const std::string parent = dir.substr(0, withoutTrailingBackslash(dir).rfind('\\') + 1);
    struct Row {
        std::string path;
        bool keepCase;
        std::string expected;
    } rows[] = {
        {"C:\\Some\\..\\Mixed\\\\Dir", true, "C:\\Mixed\\Dir"},
        {"C:\\Some\\..\\Mixed\\\\Dir", false, "c:\\mixed\\dir"},
        {"C:\\A\\.\\B.TXT", false, "c:\\a\\b.txt"},
        {"Sub\\File.TXT", true, dir + "Sub\\File.TXT"},
        {"Sub\\File.TXT", false, dir + "sub\\file.txt"},
        {"Sub\\\\\\Deeper\\", false, dir + "sub\\deeper\\"},
        {".", false, withoutTrailingBackslash(dir)},
        {"..\\Up", true, parent + "Up"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path + (row.keepCase ? " (keep case)" : ""));
        EXPECT_EQ(absolutePath(row.path, row.keepCase), row.expected);
    }
}

TEST(PathExists, DriveRootsWithoutTheDiskAndRealEntries) {
    ScratchDir scratch("vexal-paths-exists");
    const std::string file = scratch.path() + "\\Some File.txt";
    writeFile(file, "x");
    struct Row {
        std::string path;
        bool exists;
    } rows[] = {
        // No drive Q: exists in the session, yet its root spellings hold.
        {"q:\\", true},
        {"Q:\\.", true},
        {"q:\\.\\.", true},
        {"q:\\..", false},
        {"q:\\x", false},
        {file, true},
        {lower(file), true},
        {scratch.path(), true},
        {scratch.path() + "\\missing.txt", false},
        {scratch.path() + "\\Some*", true},
        {"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(pathExists(row.path), row.exists);
    }
}

TEST(FindFile, DeliversTheLastWriteTimeLowHalfFirst) {
    ScratchDir scratch("vexal-paths-find");
    const std::string file = scratch.path() + "\\dated.bin";
    writeFile(file, "data");
    FILETIME when{0x89ABCDE0u, 0x01D2F3A4u};
    {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &when));
        CloseHandle(h);
    }
    FileTime found;
    ASSERT_TRUE(findFile(file, &found));
    EXPECT_EQ(found.low, when.dwLowDateTime);
    EXPECT_EQ(found.high, when.dwHighDateTime);
    EXPECT_TRUE(findFile(file, nullptr));

    FileTime untouched{7, 9};
    EXPECT_FALSE(findFile(scratch.path() + "\\none", &untouched));
    EXPECT_EQ(untouched.low, 7u);
    EXPECT_EQ(untouched.high, 9u);
}

// The case folding goes through a wide copy in the code page of the file
// functions and gives up when the lower-case text needs "?" on the way back.
TEST(ToLowerPath, UnchangedWhenTheLowerCaseLeavesTheCodePage) {
    EXPECT_EQ(toLowerPath("C:\\Dir\\FILE.TXT"), "c:\\dir\\file.txt");
    EXPECT_EQ(toLowerPath("C:\\CAF\xC9"), "c:\\caf\xE9");  // ANSI 1252
    if (GetOEMCP() != 437) GTEST_SKIP() << "OEM code page " << GetOEMCP();
    SetFileApisToOEM();
    struct Row {
        std::string path;
        std::string expected;
    } rows[] = {
        {"C:\\AB\xE4", "c:\\ab\xE5"},  // capital sigma -> small sigma, both in 437
        {"C:\\AB\xE2", "C:\\AB\xE2"},  // capital gamma -> small gamma, not in 437
        {"C:\\AB\x80", "c:\\ab\x87"},  // C cedilla
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(toLowerPath(row.path), row.expected);
    }
    SetFileApisToANSI();
}

TEST(CollapseBackslashPath, ThroughTheFileCodePage) {
    EXPECT_EQ(collapseBackslashPath("\\\\\\srv\\\\caf\xE9\\\\x"), "\\\\srv\\caf\xE9\\x");
    EXPECT_EQ(collapseBackslashPath("c:\\\\a"), "c:\\a");
    EXPECT_EQ(collapseBackslashPath(""), "");
}
