#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "common/NtPlatform.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"
#include "tests/wine/WinScratch.h"

using namespace vexal;
using vexal::testing::runChild;
using vexal::testing::ScratchDir;

namespace {

std::string processPath() {
    char buffer[32768];
    DWORD n = GetEnvironmentVariableA("PATH", buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

std::string currentDirectory() {
    char buffer[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, n);
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

// PATH and the current directory are restored after each test.
class EnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedPath_ = processPath();
        savedDir_ = currentDirectory();
        configStore().clear();
    }
    void TearDown() override {
        SetEnvironmentVariableA("PATH", savedPath_.c_str());
        _putenv(("PATH=" + savedPath_).c_str());
        SetCurrentDirectoryA(savedDir_.c_str());
        configStore().clear();
    }
    std::string savedPath_, savedDir_;
};

}  // namespace

// What a child process sees after prefixPath, and what the C runtime's
// getenv sees in this one.
TEST_F(EnvironmentTest, PathPrefixSeenByChildAndRuntime) {
    const std::string dir = executableDirectory();
    struct Row {
        const char* entry;
        std::string prefix;
    } rows[] = {
        {"lib;c:\\tools", dir + "lib;c:\\tools;"},
        {"bin;", dir + "bin;"},
        {";;bin;;", dir + "bin;"},
        {"\\\\srv\\\\share\\\\x", "\\\\srv\\share\\x;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        SetEnvironmentVariableA("PATH", savedPath_.c_str());
        configStore().setNarrow(id::PathPrefix, row.entry);
        prefixPath();
        const std::string expected = row.prefix + savedPath_;
        EXPECT_EQ(processPath(), expected);
        const char* runtime = std::getenv("PATH");
        ASSERT_NE(runtime, nullptr);
        EXPECT_EQ(std::string(runtime), expected);
        EXPECT_EQ(firstLine(runChild("cmd.exe /c echo %PATH%")), expected);
    }
}

// With entry 10004 empty PATH keeps its value, and the runtime's own table
// is brought in line with the process environment.
TEST_F(EnvironmentTest, EmptyEntryStillSetsBothCopies) {
    const std::string changedBehindTheRuntime = "c:\\only-in-the-process;" + savedPath_;
    SetEnvironmentVariableA("PATH", changedBehindTheRuntime.c_str());
    ASSERT_EQ(std::string(std::getenv("PATH")), savedPath_);
    prefixPath();
    EXPECT_EQ(processPath(), changedBehindTheRuntime);
    EXPECT_EQ(std::string(std::getenv("PATH")), changedBehindTheRuntime);
}

TEST_F(EnvironmentTest, PrefixKeptAndOldValueCutWhenTooLong) {
    std::string longOld;
    for (int i = 0; i < 300; ++i) longOld += "c:\\some\\rather\\long\\directory\\name" + std::to_string(i) + ";";
    SetEnvironmentVariableA("PATH", longOld.c_str());
    configStore().setNarrow(id::PathPrefix, "c:\\first");
    prefixPath();
    const std::string now = processPath();
    EXPECT_LE(now.size(), 8191u);
    EXPECT_EQ(now.rfind("c:\\first;c:\\some\\rather\\long\\directory\\name0;", 0), 0u);
    // Only whole directories of the old value remain.
    const std::size_t last = now.rfind(';');
    ASSERT_NE(last, std::string::npos);
    const std::string tail = now.substr(last + 1);
    EXPECT_NE(longOld.find(";" + tail + ";"), std::string::npos) << tail;
}

TEST_F(EnvironmentTest, WorkingDirectorySeenByChild) {
    ScratchDir scratch("vexal-env-Work Dir");
    const std::string mixed = scratch.path() + "\\Mixed Case";
    ASSERT_TRUE(CreateDirectoryA(mixed.c_str(), nullptr));
    char lowered[MAX_PATH];
    lstrcpynA(lowered, mixed.c_str(), sizeof lowered);
    CharLowerA(lowered);
    std::string exeDir = executableDirectory();
    exeDir.pop_back();
    struct Row {
        std::string entry;
        std::string expected;  // empty: the directory stays
    } rows[] = {
        {".", exeDir},
        {mixed, lowered},
        {mixed + "\\\\.\\", lowered},  // the platform drops the trailing backslash
        {"", ""},
        {scratch.path() + "\\missing", ""},  // refused: ignored
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        SetCurrentDirectoryA(savedDir_.c_str());
        configStore().setNarrow(id::WorkingDirectory, row.entry);
        changeToWorkingDirectory();
        const std::string expected = row.expected.empty() ? savedDir_ : row.expected;
        EXPECT_EQ(currentDirectory(), expected);
        EXPECT_EQ(firstLine(runChild("cmd.exe /c cd")), expected);
    }
}

TEST(Platform, WineReportsTheNtFamily) { EXPECT_TRUE(isNtPlatform()); }
