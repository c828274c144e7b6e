#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "files/PathHelpers.h"
#include "files/win32/LongPathName.h"
#include "tests/wine/WinScratch.h"

using namespace vexal;
using vexal::testing::ScratchDir;
using vexal::testing::writeFile;

namespace {

// Stand-ins for GetLongPathNameA, counting their calls.
int gFakeCalls = 0;

DWORD WINAPI notImplemented(LPCSTR, LPSTR, DWORD) {
    ++gFakeCalls;
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

DWORD WINAPI fileNotFound(LPCSTR, LPSTR, DWORD) {
    ++gFakeCalls;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

DWORD WINAPI alwaysFixed(LPCSTR, LPSTR out, DWORD size) {
    ++gFakeCalls;
    lstrcpynA(out, "c:\\fixed", static_cast<int>(size));
    return 8;
}

LongPathFunction platformLongPath() {
    return reinterpret_cast<LongPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32"), "GetLongPathNameA")));
}

// A directory and a file with long names, and their short spelling.
class LongPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        gFakeCalls = 0;
        scratch_ = std::make_unique<ScratchDir>("vexal-long-path");
        longDir_ = scratch_->path() + "\\A Directory With Long Name";
        ASSERT_TRUE(CreateDirectoryA(longDir_.c_str(), nullptr));
        longFile_ = longDir_ + "\\Some Long File Name.text";
        writeFile(longFile_, "x");
        char shortName[MAX_PATH];
        DWORD n = GetShortPathNameA(longFile_.c_str(), shortName, sizeof shortName);
        ASSERT_GT(n, 0u);
        shortFile_.assign(shortName, n);
        char full[MAX_PATH];
        n = GetLongPathNameA(shortFile_.c_str(), full, sizeof full);
        ASSERT_GT(n, 0u);
        expected_.assign(full, n);
    }
    void TearDown() override { resetLongPathBindingForTests(); }

    std::unique_ptr<ScratchDir> scratch_;
    std::string longDir_, longFile_, shortFile_, expected_;
};

}  // namespace

TEST_F(LongPathTest, ShortFormDiffersFromTheLongOne) {
    EXPECT_NE(shortFile_, longFile_);
    EXPECT_EQ(shortFile_.find(' '), std::string::npos) << shortFile_;
}

TEST_F(LongPathTest, ThePlatformFunctionIsBoundWhenItWorks) {
    resetLongPathBindingForTests();
    EXPECT_EQ(boundLongPathFunction(), longPathResolver());
    EXPECT_EQ(longPathName(shortFile_), expected_);
    EXPECT_EQ(boundLongPathFunction(), platformLongPath());
}

TEST_F(LongPathTest, BindingDependsOnTheFirstResult) {
    struct Row {
        const char* name;
        LongPathFunction found;  // what the KERNEL32 lookup gives
        bool emulated;           // bound to the emulation afterwards
        int fakeCallsAfterTwo;   // calls of the stand-in after two uses
    } rows[] = {
        {"missing", nullptr, true, 0},
        {"error 120", notImplemented, true, 1},
        {"error 2", fileNotFound, false, 2},
        {"success", alwaysFixed, false, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        gFakeCalls = 0;
        resetLongPathBindingForTests(row.found);
        const std::string first = longPathName(shortFile_);
        const std::string second = longPathName(shortFile_);
        EXPECT_EQ(first, second);
        EXPECT_EQ(gFakeCalls, row.fakeCallsAfterTwo);
        if (row.emulated) {
            EXPECT_EQ(boundLongPathFunction(), &emulateLongPathName);
            EXPECT_EQ(first, expected_);
        } else {
            EXPECT_EQ(boundLongPathFunction(), row.found);
        }
    }
}

TEST_F(LongPathTest, EmulationAgreesWithThePlatform) {
    const std::string paths[] = {shortFile_, longFile_, longDir_, scratch_->path(), "c:\\windows"};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        char platform[MAX_PATH], emulated[MAX_PATH];
        DWORD p = GetLongPathNameA(path.c_str(), platform, sizeof platform);
        DWORD e = emulateLongPathName(path.c_str(), emulated, sizeof emulated);
        ASSERT_GT(p, 0u);
        ASSERT_EQ(e, p);
        EXPECT_EQ(lstrcmpiA(platform, emulated), 0) << platform << " vs " << emulated;
    }
}

TEST_F(LongPathTest, EmulationFailures) {
    char out[MAX_PATH] = "untouched";
    SetLastError(0);
    EXPECT_EQ(emulateLongPathName((scratch_->path() + "\\missing").c_str(), out, sizeof out), 0u);
    EXPECT_STREQ(out, "untouched");

    // Too small a buffer: the size needed, with the terminating zero.
    char small[4] = "abc";
    SetLastError(0);
    EXPECT_EQ(emulateLongPathName(shortFile_.c_str(), small, sizeof small), expected_.size() + 1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_STREQ(small, "abc");

    // Exactly long enough.
    std::string exact(expected_.size() + 1, '#');
    EXPECT_EQ(emulateLongPathName(shortFile_.c_str(), &exact[0], static_cast<DWORD>(exact.size())),
              expected_.size());
    EXPECT_EQ(exact.c_str(), expected_);
}
