// Window counting, console title and window activation, against Wine's real
// window manager state: windows of this process, of window-holder fixture
// processes, and child copies of this program with a console of their own
// (the title search happens once per process, so each title case needs a
// fresh process).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "common/win32/Handle.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "process/WindowActivation.h"
#include "tests/support/Waiting.h"
#include "tests/wine/ImportHook.h"
#include "tests/wine/Scratch.h"
#include "tests/wine/WinScratch.h"

using namespace vexal;

namespace {

// Wine hands the foreground over through the X server: for a while after
// the request no window, or the old one, may be reported. Waits until the
// expected window is in front, and returns what is.
// The other windows given are those of processes whose word on an earlier
// change (a focus lost, say) may still be on its way: each is made to answer
// a message, which it does only once it has taken in what the X server told
// it, and the front is looked at again afterwards.
HWND foregroundOnceSettled(HWND expected, std::initializer_list<HWND> others = {}) {
    vexal::testing::waitUntil([&] { return GetForegroundWindow() == expected; });
    for (HWND other : others) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(other, WM_NULL, 0, 0, SMTO_NORMAL, DWORD(vexal::testing::kPatience.count()), &answer);
    }
    vexal::testing::waitUntil([&] { return GetForegroundWindow() == expected; });
    return GetForegroundWindow();
}

constexpr const char* kTitleProbe = "--title-probe";

std::string ownPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

std::string holderPath() {
    const std::string self = ownPath();
    return self.substr(0, self.rfind('\\') + 1) + "..\\..\\fixtures\\window-holder.exe";
}

std::string readFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (!file) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

// UTF-16 text as hex units, so that titles travel through files and command
// lines exactly.
std::string hexUnits(const std::wstring& text) {
    std::string hex;
    char unit[8];
    for (wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(c));
        hex += unit;
    }
    return hex;
}

std::wstring fromHex(const std::string& hex) {
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
        text += static_cast<wchar_t>(std::stoul(hex.substr(i, 4), nullptr, 16));
    }
    return text;
}

std::wstring consoleTitle() {
    std::wstring title(40000, L'\0');
    DWORD n = GetConsoleTitleW(&title[0], static_cast<DWORD>(title.size()));
    title.resize(n < title.size() ? n : 0);
    return title;
}


// ---------------------------------------------------------------------------
// The child side of the title cases: sets its console title, then counts its
// own windows twice with every console title change of the code under test
// recorded (through its import table, so that no change is too short to be
// seen), and writes what it saw to a file:
//   pid <id>
//   count <first> <second>
//   before <hex> / after <hex>
//   set <count in which it happened: 1 or 2> <hex>   (each title change)

int gCountPhase = 0;
std::vector<std::string> gTitleChanges;
BOOL(WINAPI* gSetTitleA)(LPCSTR) = nullptr;
BOOL(WINAPI* gSetTitleW)(LPCWSTR) = nullptr;

BOOL WINAPI recordTitleA(LPCSTR title) {
    std::wstring wide;
    for (const char* c = title; *c != '\0'; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    gTitleChanges.push_back(std::to_string(gCountPhase) + " " + hexUnits(wide));
    return gSetTitleA(title);
}

BOOL WINAPI recordTitleW(LPCWSTR title) {
    gTitleChanges.push_back(std::to_string(gCountPhase) + " " + hexUnits(title));
    return gSetTitleW(title);
}

int titleProbe(const std::string& out, const std::string& entry107, const std::string& titleFile) {
    if (entry107 != "-") configStore().setNarrow(id::ExecutableType, entry107);
    SetConsoleTitleW(fromHex(readFile(titleFile)).c_str());
    const std::wstring before = consoleTitle();
    const wintest::ImportHook hookA("kernel32.dll", "SetConsoleTitleA", reinterpret_cast<void*>(recordTitleA));
    const wintest::ImportHook hookW("kernel32.dll", "SetConsoleTitleW", reinterpret_cast<void*>(recordTitleW));
    if (!hookA.active() || !hookW.active()) return 3;
    gSetTitleA = reinterpret_cast<decltype(gSetTitleA)>(hookA.original());
    gSetTitleW = reinterpret_cast<decltype(gSetTitleW)>(hookW.original());

    gCountPhase = 1;
    const int first = countProcessWindows(GetCurrentProcessId());
    gCountPhase = 2;
    const int second = countProcessWindows(GetCurrentProcessId());

    std::string report = "pid " + std::to_string(GetCurrentProcessId()) + "\ncount " + std::to_string(first) + " " +
                         std::to_string(second) + "\nbefore " + hexUnits(before) + "\nafter " +
                         hexUnits(consoleTitle()) + "\n";
    for (const std::string& line : gTitleChanges) report += "set " + line + "\n";
    wintest::writeFile(out, report);
    return 0;
}

struct ProbeReport {
    std::string pid;
    int first = -1;
    int second = -1;
    std::string before;
    std::string after;
    struct Change {
        int count;  // 1: during the first count, 2: during the second
        std::wstring title;
    };
    std::vector<Change> changes;
};

ProbeReport parseReport(const std::string& text) {
    ProbeReport report;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        const std::size_t blank = line.find(' ');
        if (blank == std::string::npos) continue;
        const std::string word = line.substr(0, blank);
        const std::string rest = line.substr(blank + 1);
        if (word == "pid") report.pid = rest;
        if (word == "count") std::sscanf(rest.c_str(), "%d %d", &report.first, &report.second);
        if (word == "before") report.before = rest;
        if (word == "after") report.after = rest;
        if (word == "set") {
            ProbeReport::Change change{};
            std::sscanf(rest.c_str(), "%d", &change.count);
            const std::size_t hex = rest.find(' ');
            change.title = hex == std::string::npos ? std::wstring() : fromHex(rest.substr(hex + 1));
            report.changes.push_back(change);
        }
    }
    return report;
}

// Runs this program as a title probe with the given creation flags (a new
// console, or none at all) and returns its report.
ProbeReport runTitleProbe(const std::string& dir, const std::string& entry107, const std::wstring& title,
                          DWORD consoleFlag) {
    const std::string out = dir + "\\probe.txt";
    const std::string titleFile = dir + "\\title.txt";
    DeleteFileA(out.c_str());
    wintest::writeFile(titleFile, hexUnits(title));
    std::string line = "\"" + ownPath() + "\" " + kTitleProbe + " \"" + out + "\" " + entry107 + " \"" +
                       titleFile + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, consoleFlag, nullptr, nullptr, &startup,
                        &child)) {
        ADD_FAILURE() << "cannot start " << line << ": error " << GetLastError();
        return {};
    }
    KernelHandle process(child.hProcess), thread(child.hThread);
    EXPECT_EQ(WaitForSingleObject(process.get(), DWORD(vexal::testing::kPatience.count())), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u);
    return parseReport(readFile(out));
}

// ---------------------------------------------------------------------------
// A window-holder process; released (and, if need be, ended) on destruction.

class Holder {
public:
    Holder(const std::string& dir, const std::string& kinds, const std::string& title)
        : release_(dir + "\\release-" + title), title_(title) {
        std::string line = "\"" + holderPath() + "\" " + kinds + " " + title + " \"" + release_ + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
            ADD_FAILURE() << "cannot start " << line << ": error " << GetLastError();
            return;
        }
        process_.reset(child.hProcess);
        CloseHandle(child.hThread);
        pid_ = child.dwProcessId;
        ready_ = vexal::testing::waitUntil([this] { return wintest::exists(release_ + ".ready"); });
        EXPECT_TRUE(ready_) << "window-holder " << kinds << " did not get ready";
    }
    ~Holder() {
        wintest::writeFile(release_);
        if (process_ && WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process_.get(), 9);
    }
    DWORD pid() const { return pid_; }
    // The n-th window (from 1), by its title.
    HWND window(int n) const { return FindWindowA(nullptr, (title_ + "-" + std::to_string(n)).c_str()); }

private:
    std::string release_;
    std::string title_;
    KernelHandle process_;
    DWORD pid_ = 0;
    bool ready_ = false;
};

std::string uniqueTitle(const char* what) {
    static int counter = 0;
    return std::string("vxl-") + what + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

class WindowActivation : public ::testing::Test {
protected:
    vexal::testing::ScratchDir scratch_{"vxl-activation"};
    const std::string& dir_ = scratch_.path();
};

// ---------------------------------------------------------------------------

// Windows of this process, made on a thread of their own so that each case
// starts from none; destroyed with the object.
class OwnWindows {
public:
    OwnWindows(int visible, int hidden) {
        HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([=] {
            for (int i = 0; i < visible + hidden; ++i) {
                HWND w = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, nullptr, nullptr,
                                         nullptr, nullptr);
                if (i < visible) ShowWindow(w, SW_SHOWNOACTIVATE);
            }
            threadId_ = GetCurrentThreadId();
            SetEvent(made);
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        });
        WaitForSingleObject(made, DWORD(vexal::testing::kPatience.count()));
        CloseHandle(made);
    }
    ~OwnWindows() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
};

TEST_F(WindowActivation, CountsTheVisibleTopLevelWindowsOfThisProcess) {
    struct Case {
        int visible;
        int hidden;
    };
    const Case cases[] = {{0, 0}, {1, 0}, {0, 2}, {2, 1}, {3, 3}};
    // Windows of another process never count here, and ours never count there.
    Holder other(dir_, "shown+minimized", uniqueTitle("other"));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.visible) + " visible, " + std::to_string(c.hidden) + " hidden");
        OwnWindows own(c.visible, c.hidden);
        EXPECT_EQ(countProcessWindows(GetCurrentProcessId()), c.visible);
        EXPECT_EQ(countProcessWindows(other.pid()), 2);
    }
    EXPECT_EQ(countProcessWindows(GetCurrentProcessId()), 0);
}

TEST_F(WindowActivation, CountsTheVisibleWindowsOfAnotherProcess) {
    struct Case {
        const char* kinds;
        int count;
    };
    const Case cases[] = {
        {"none", 0},
        {"shown", 1},
        {"minimized", 1},  // minimised is still visible
        {"hidden", 0},
        {"shown+hidden+minimized+shown", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kinds);
        Holder holder(dir_, c.kinds, uniqueTitle("count"));
        EXPECT_EQ(countProcessWindows(holder.pid()), c.count);
    }
}

// Titles compared in full, reported briefly: they may be 20000 characters.
::testing::AssertionResult sameTitle(const std::wstring& actual, const std::wstring& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << "title of " << actual.size() << " units, expected " << expected.size()
                                         << ", first difference at " << at << ": "
                                         << hexUnits(actual.substr(at, 8)) << " instead of "
                                         << hexUnits(expected.substr(at, 8));
}

// The temporary title reads "<tick count>/<process id>".
bool isTemporaryTitle(const std::wstring& title, const std::string& pid) {
    const std::string narrow(title.begin(), title.end());
    return std::regex_match(narrow, std::regex("-?[0-9]+/" + pid));
}

TEST_F(WindowActivation, ConsoleTitleIsBorrowedOnlyOnTheFirstCountAndPutBack) {
    std::wstring longTitle;
    for (int i = 0; i < 20000; ++i) longTitle += static_cast<wchar_t>(L'a' + i % 26);
    struct Case {
        const char* name;
        const char* entry107;  // "-": not configured
        std::wstring title;
        bool borrowed;  // the temporary title appears during the first count
    };
    const Case cases[] = {
        {"not configured", "-", L"Plain title", true},
        {"console type 0", "0", L"Plain title", true},
        {"GUI type 1: the title is left alone", "1", L"Plain title", false},
        {"characters outside the ANSI code page come back", "0", L"\u65e5\u672c \u2713 \U0001F600 title", true},
        {"a title longer than 8191 characters comes back whole", "0", longTitle, true},
        {"an empty title: nothing to put back, nothing borrowed", "0", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ProbeReport report = runTitleProbe(dir_, c.entry107, c.title, CREATE_NEW_CONSOLE);
        ASSERT_FALSE(report.pid.empty());
        EXPECT_TRUE(sameTitle(fromHex(report.before), c.title));
        EXPECT_TRUE(sameTitle(fromHex(report.after), c.title));
        EXPECT_EQ(report.first, 0);  // the console window is not the probe's own window
        EXPECT_EQ(report.second, 0);
        if (!c.borrowed) {
            EXPECT_TRUE(report.changes.empty()) << report.changes.size() << " title changes";
            continue;
        }
        // The temporary title, then the saved one back; both in the first
        // count, none in the second.
        ASSERT_EQ(report.changes.size(), 2u);
        EXPECT_EQ(report.changes[0].count, 1);
        EXPECT_TRUE(isTemporaryTitle(report.changes[0].title, report.pid)) << hexUnits(report.changes[0].title);
        EXPECT_EQ(report.changes[1].count, 1);
        EXPECT_TRUE(sameTitle(report.changes[1].title, c.title));
    }
}

TEST_F(WindowActivation, CountWithoutAConsoleChangesNothing) {
    const ProbeReport report = runTitleProbe(dir_, "0", L"ignored", DETACHED_PROCESS);
    ASSERT_FALSE(report.pid.empty());
    EXPECT_EQ(report.first, 0);
    EXPECT_EQ(report.second, 0);
    EXPECT_EQ(report.before, "");
    EXPECT_TRUE(report.changes.empty());
}

TEST_F(WindowActivation, RestoresEveryVisibleMinimisedWindowOfTheProcess) {
    struct Case {
        const char* kinds;
        std::vector<bool> iconicAfter;  // per window, in order
    };
    const Case cases[] = {
        {"minimized", {false}},
        {"shown", {false}},
        {"minimized+shown+minimized", {false, false, false}},
        {"hidden+minimized", {true, false}},  // a window that is not visible is not touched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kinds);
        Holder holder(dir_, c.kinds, uniqueTitle("restore"));
        for (std::size_t i = 0; i < c.iconicAfter.size(); ++i) ASSERT_NE(holder.window(int(i) + 1), nullptr);
        activateProcessWindows(holder.pid());
        for (std::size_t i = 0; i < c.iconicAfter.size(); ++i) {
            HWND w = holder.window(int(i) + 1);
            EXPECT_EQ(IsIconic(w) != FALSE, c.iconicAfter[i]) << "window " << i + 1;
        }
        // The last window treated ends in front (once Wine has handed it over).
        DWORD front = 0;
        vexal::testing::waitUntil([&] {
            front = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &front);
            return front == holder.pid();
        });
        EXPECT_EQ(front, holder.pid());
    }
}

TEST_F(WindowActivation, BringsTheProcessWindowToTheFront) {
    // Each holder in front before the next one starts: the X server's word
    // on an earlier window may come late and take the front back.
    Holder first(dir_, "shown", uniqueTitle("first"));
    activateProcessWindows(first.pid());
    ASSERT_EQ(foregroundOnceSettled(first.window(1), {first.window(1)}), first.window(1));
    Holder second(dir_, "shown", uniqueTitle("second"));
    const HWND one = first.window(1), two = second.window(1);
    activateProcessWindows(second.pid());
    ASSERT_EQ(foregroundOnceSettled(two, {one, two}), two);
    activateProcessWindows(first.pid());
    EXPECT_EQ(foregroundOnceSettled(one, {one, two}), one);
    activateProcessWindows(second.pid());
    EXPECT_EQ(foregroundOnceSettled(two, {one, two}), two);
}

TEST_F(WindowActivation, ProcessWithoutWindowsChangesNothing) {
    Holder minimised(dir_, "minimized", uniqueTitle("stays"));
    Holder shown(dir_, "shown", uniqueTitle("front"));
    activateProcessWindows(shown.pid());
    HWND front = foregroundOnceSettled(shown.window(1), {minimised.window(1), shown.window(1)});
    ASSERT_EQ(front, shown.window(1));
    Holder empty(dir_, "none", uniqueTitle("empty"));
    activateProcessWindows(empty.pid());
    EXPECT_TRUE(IsIconic(minimised.window(1)));
    EXPECT_EQ(GetForegroundWindow(), front);
    // Nor does a process that has only a hidden window.
    Holder hidden(dir_, "hidden", uniqueTitle("hidden"));
    activateProcessWindows(hidden.pid());
    EXPECT_TRUE(IsIconic(hidden.window(1)));
    EXPECT_FALSE(IsWindowVisible(hidden.window(1)));
    EXPECT_EQ(GetForegroundWindow(), front);
}

}  // namespace

// Child copies of this program run the title probe; otherwise the tests run.
int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == kTitleProbe) return titleProbe(argv[2], argv[3], argv[4]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
