// The stored process id of a running instance, against Wine's registry, and
// the marker that tells a second instance from the first.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "process/InstanceServices.h"
#include "process/SingleInstance.h"
#include "tests/support/Waiting.h"
#include "tests/wine/ImportHook.h"

namespace vexal {
namespace {

constexpr const char* kPidKey = "SOFTWARE\\tarnwellsoft\\vexal\\pids";

std::string identity(const char* name) { return std::string("c:\\single-instance-test\\") + name + ".exe"; }

void storeRaw(const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPidKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void removeValue(const std::string& name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPidKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

// A process id that names no running process.
DWORD endedProcessId() {
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION info{};
    char commandLine[] = "cmd.exe /c exit";
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &start,
                        &info))
        return 0;
    const bool done = WaitForSingleObject(info.hProcess, DWORD(testing::kPatience.count())) == WAIT_OBJECT_0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return done ? info.dwProcessId : 0;
}

TEST(InstancePid, WrittenIdReadsBackAndOddValuesReadAsNone) {
    const std::string name = identity("roundtrip");
    removeValue(name);
    EXPECT_EQ(readInstancePid(name), 0u);
    writeInstancePid(name);
    EXPECT_EQ(readInstancePid(name), GetCurrentProcessId());

    struct Row {
        const char* what;
        DWORD type;
        std::string bytes;
    } rows[] = {
        {"eight bytes", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"two bytes", REG_BINARY, std::string("\x01\x02", 2)},
        {"empty", REG_BINARY, std::string()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        storeRaw(name, row.type, row.bytes.data(), static_cast<DWORD>(row.bytes.size()));
        EXPECT_EQ(readInstancePid(name), 0u);
    }
    removeValue(name);
}

// The launcher's waits, seen through this program's import of Sleep: each
// one is counted and its length added up, and the test decides what the
// other instance does meanwhile. No wait depends on the clock.
class SleepHook {
public:
    explicit SleepHook(std::function<void(int)> duringWait)
        : hook_("kernel32.dll", "Sleep", reinterpret_cast<void*>(countedSleep)) {
        duringWait_ = std::move(duringWait);
        waits_ = 0;
        waitedMs_ = 0;
    }
    ~SleepHook() { duringWait_ = nullptr; }
    bool installed() const { return hook_.active(); }
    int waits() const { return waits_; }
    unsigned long waitedMs() const { return waitedMs_; }

private:
    static VOID WINAPI countedSleep(DWORD milliseconds) {
        ++waits_;
        waitedMs_ += milliseconds;
        if (duringWait_) duringWait_(waits_);
    }
    static inline std::function<void(int)> duringWait_;
    static inline int waits_ = 0;
    static inline unsigned long waitedMs_ = 0;
    wintest::ImportHook hook_;
};

// The running instance stores its id a moment after its marker exists; an
// id of an earlier, ended instance may still be stored until then.
TEST(InstancePid, SecondInstanceWaitsForTheRunningId) {
    const std::string name = identity("late");
    const DWORD ended = endedProcessId();
    ASSERT_NE(ended, 0u);
    for (bool stale : {false, true}) {
        SCOPED_TRACE(stale ? "an ended instance's id is stored" : "no id is stored");
        removeValue(name);
        if (stale) storeRaw(name, REG_DWORD, &ended, sizeof ended);
        // The first instance stores its id during the fifth wait.
        SleepHook hook([&](int wait) {
            if (wait == 5) writeInstancePid(name);
        });
        ASSERT_TRUE(hook.installed());
        EXPECT_EQ(runningInstancePid(name), GetCurrentProcessId());
        EXPECT_EQ(hook.waits(), 5);
    }
    // No running id ever appears: the wait is bounded (one second) and the
    // answer is 0.
    removeValue(name);
    SleepHook hook(nullptr);
    ASSERT_TRUE(hook.installed());
    EXPECT_EQ(runningInstancePid(name), 0u);
    EXPECT_EQ(hook.waitedMs(), 1000u);
    removeValue(name);
}

TEST(InstanceMarker, OnlyTheFirstCreationOfANameCounts) {
    const std::string name = "c:_single-instance-test_marker_" + std::to_string(GetCurrentProcessId()) + ".exe";
    EXPECT_TRUE(createInstanceMarker(name));
    // The marker stays open for the life of the process: a second creation
    // finds it, from this process as from any other.
    EXPECT_FALSE(createInstanceMarker(name));
    HANDLE other = CreateSemaphoreA(nullptr, 1, 1, name.c_str());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(other);
}

TEST(CommunicationFile, WrittenAsUtf16WithALineFeedAndNoByteOrderMark) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "vxl_comm_test_" + std::to_string(GetCurrentProcessId()) + ".tmp";
    ASSERT_TRUE(writeCommunicationFile(path, u"a \"b c\" \u00e9"));
    // Written again: the file is truncated, not appended to.
    ASSERT_TRUE(writeCommunicationFile(path, u"x"));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char bytes[64];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    EXPECT_EQ(std::string(bytes, got), std::string("x\0\n\0", 4));
    EXPECT_FALSE(writeCommunicationFile(std::string(dir) + "no-such-dir\\vxl_p1.tmp", u"x"));
}

// A name planted in advance as a second name of another file (a hard link)
// is replaced, never written through: the other file keeps its content, and
// no fresh name is left beside the file.
TEST(CommunicationFile, APlantedNameIsReplacedNotWrittenThrough) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string stem = std::string(dir) + "vxl_comm_planted_" + std::to_string(GetCurrentProcessId());
    const std::string victim = stem + ".victim";
    const std::string path = stem + ".tmp";
    HANDLE file = CreateFileA(victim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "victim", 6, &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(CreateHardLinkA(path.c_str(), victim.c_str(), nullptr));
    EXPECT_TRUE(writeCommunicationFile(path, u"arguments"));
    char bytes[64];
    DWORD got = 0;
    file = CreateFileA(victim.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    EXPECT_EQ(std::string(bytes, got), "victim");
    file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    EXPECT_EQ(got, 20u);
    WIN32_FIND_DATAA found;
    int names = 0;
    HANDLE search = FindFirstFileA((stem + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do ++names;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(names, 2);  // the victim and the communication file
    DeleteFileA(path.c_str());
    DeleteFileA(victim.c_str());
}

}  // namespace
}  // namespace vexal
