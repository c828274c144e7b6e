// The top-level windows of one process: counting the visible ones, leaving
// out this launcher's own console window, and bringing them to the front.
#include "process/WindowActivation.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"

namespace vexal {

namespace {

// A value no window handle takes and distinct from none: the console window
// has not been looked for yet.
const HWND kNotSearched = reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));

// Process-wide, touched only by the operations below; they are never used
// on two threads at once.
HWND gConsoleWindow = kNotSearched;
DWORD gTargetProcessId = 0;
int gWindowCount = 0;

// Console titles hold less than 64 KiB.
constexpr DWORD kMaxTitleChars = 32768;

bool ownedByTarget(HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == gTargetProcessId;
}

BOOL CALLBACK countWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window) && ownedByTarget(window) && window != gConsoleWindow) ++gWindowCount;
    return TRUE;
}

BOOL CALLBACK activateWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window) || !ownedByTarget(window)) return TRUE;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // Refusals by the platform are expected and ignored.
    SetForegroundWindow(window);
    SetForegroundWindow(GetLastActivePopup(window));
    return TRUE;
}

// The whole console title in UTF-16, so that putting it back restores it
// exactly: a narrow copy would lose the characters outside the ANSI code
// page, and a fixed buffer would cut a long title short. False when there
// is no console or the title is empty.
bool saveConsoleTitle(std::wstring& title) {
    for (DWORD size = 1024; size <= kMaxTitleChars; size *= 2) {
        title.assign(size, L'\0');
        DWORD length = GetConsoleTitleW(&title[0], size);
        if (length == 0) return false;
        if (length < size - 1) {
            title.resize(length);
            return true;
        }
    }
    // Longer than any console title can be: never change what cannot be
    // put back.
    return false;
}

}  // namespace

void findConsoleWindow() {
    if (gConsoleWindow != kNotSearched) return;
    gConsoleWindow = nullptr;
    if (configInt(id::ExecutableType) == 1) return;

    std::wstring saved;
    if (!saveConsoleTitle(saved)) return;
    char unique[32];
    std::snprintf(unique, sizeof unique, "%d/%d", static_cast<int>(GetTickCount()),
                  static_cast<int>(GetCurrentProcessId()));
    if (!SetConsoleTitleA(unique)) return;
    // The console host renames its window asynchronously.
    Sleep(40);
    gConsoleWindow = FindWindowA(nullptr, unique);
    SetConsoleTitleW(saved.c_str());
}

int countProcessWindows(std::uint32_t processId) {
    gTargetProcessId = processId;
    gWindowCount = 0;
    findConsoleWindow();
    EnumWindows(countWindow, 0);
    return gWindowCount;
}

void activateProcessWindows(std::uint32_t processId) {
    gTargetProcessId = processId;
    EnumWindows(activateWindow, 0);
}

}  // namespace vexal
