// The splash window on a thread of its own: built once, shown, polled every
// 100 ms, hidden by whoever asks first and ended at the next poll.
#include "splash/Splash.h"

#include <windows.h>

#include <atomic>

#include "common/TextCodec.h"
#include "config/ErrorReport.h"
#include "process/Environment.h"
#include "process/WindowActivation.h"
#include "splash/SplashController.h"
#include "splash/SplashLayout.h"
#include "splash/SplashState.h"
#include "splash/StatusText.h"
#include "splash/TestSeams.h"
#include "splash/win32/SplashPainter.h"

namespace vexal {

namespace {

constexpr char kClassName[] = "VexalSplashScreen";
constexpr UINT kClassStyles = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
constexpr char kIconName[] = "ID_SPLASH_ICON";
constexpr UINT_PTR kPollTimerId = 9962;
constexpr UINT kPollPeriodMs = 100;
// The longest a hide request waits for a build under way to finish; the
// build only creates and shows a window, so this is never reached unless
// the system stalls.
constexpr DWORD kBuildWaitMs = 2000;
// Carries a new status line (a std::string*) to the splash thread, so the
// text and the painting stay on that thread whoever asks for the change.
constexpr UINT kStatusTextMessage = WM_APP + 1;

SplashState gState;
std::atomic<HWND> gWindow{nullptr};
std::atomic<HANDLE> gThread{nullptr};

// Used by the splash thread only.
SplashPainter* gPainter = nullptr;
SplashPollHost* gPollHost = nullptr;

// The poll's view of the splash window.
class WindowPollHost : public SplashPollHost {
public:
    WindowPollHost(HWND window, bool closeOnWindow) : window_(window), closeOnWindow_(closeOnWindow) {}
    bool windowVisible() override { return IsWindowVisible(window_) != FALSE; }
    bool closeOnWindow() override { return closeOnWindow_; }
    int countOwnWindows() override { return countProcessWindows(GetCurrentProcessId()); }
    void hide() override { hideSplash(); }
    void setStatusText(const char16_t* text, std::size_t length) override { vexal::setStatusText(text, length); }

private:
    HWND window_;
    bool closeOnWindow_;
};

HINSTANCE moduleInstance() {
    auto instance = static_cast<HINSTANCE>(launcherInstance());
    return instance != nullptr ? instance : GetModuleHandleA(nullptr);
}

std::string toAnsi(const std::u16string& text) { return wideToAnsi(text); }

LRESULT CALLBACK splashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (gPainter == nullptr) break;
        gPainter->paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case kStatusTextMessage:
        if (gPainter == nullptr) return 0;
        gPainter->setStatusText(std::move(*reinterpret_cast<std::string*>(lParam)));
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CALLBACK pollTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    if (gPollHost == nullptr || pollSplashController(*gPollHost) == PollOutcome::KeepPolling) return;
    KillTimer(nullptr, timer);
    PostQuitMessage(0);
}

// Registers the class (a second splash in one process finds it registered)
// and creates the pop-up window centred on the desktop.
HWND createSplashWindow(const SplashLayout& layout, HINSTANCE instance) {
    WNDCLASSA type{};
    type.style = kClassStyles;
    type.lpfnWndProc = splashWindowProc;
    type.hInstance = instance;
    type.hIcon = LoadIconA(instance, kIconName);
    type.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // the standard arrow
    type.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    type.lpszClassName = kClassName;
    RegisterClassA(&type);

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int left = (desktop.right - desktop.left - layout.width) / 2;
    const int top = (desktop.bottom - desktop.top - layout.height) / 2;
    return CreateWindowExA(0, kClassName, layout.title.c_str(), WS_POPUP, left, top, layout.width, layout.height,
                           nullptr, nullptr, instance, nullptr);
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

DWORD WINAPI splashThread(LPVOID parameter) {
    if (!gState.beginBuild()) return 0;
    const int showCommand = static_cast<int>(reinterpret_cast<INT_PTR>(parameter));
    const SplashLayout layout = readSplashLayout();
    const HINSTANCE instance = moduleInstance();
    SplashPainter painter(layout, instance);
    gPainter = &painter;
    HWND window = createSplashWindow(layout, instance);
    gWindow = window;
    if (window != nullptr) setErrorOwnerWindow(window);
    ShowWindow(window, showCommand);

    int code = 0;
    if (gState.finishBuild()) {
        if (layout.topmost) SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        WindowPollHost host(window, layout.closeOnWindow);
        gPollHost = &host;
        SetTimer(nullptr, kPollTimerId, kPollPeriodMs, pollTimer);
        code = runMessageLoop();
        gPollHost = nullptr;
    } else {
        // The hide came while the window was being built: its sender left
        // the hiding to this thread.
        ShowWindow(window, SW_HIDE);
        gState.builderHid();
    }
    // Hidden by the error display: the window owns (or is about to own) its
    // message box, and destroying it would take the box with it. The thread
    // stops polling but keeps the window and serves its messages until the
    // process ends after the message.
    if (window != nullptr && errorDisplayStarted()) runMessageLoop();
    if (window != nullptr) DestroyWindow(window);
    gPainter = nullptr;
    return static_cast<DWORD>(code);
}

}  // namespace

void startSplash(int showCommand) {
    if (showCommand == 0) {
        hideSplash();
        return;
    }
    HANDLE thread = CreateThread(nullptr, 0, splashThread,
                                 reinterpret_cast<LPVOID>(static_cast<INT_PTR>(showCommand)), 0, nullptr);
    if (thread == nullptr) return;
    if (HANDLE earlier = gThread.exchange(thread)) CloseHandle(earlier);
}

void hideSplash() {
    switch (gState.requestHide()) {
    case SplashState::HideAnswer::HideNow:
        ShowWindow(gWindow, SW_HIDE);
        break;
    case SplashState::HideAnswer::BuilderHides:
        // The window may be on screen already: wait, briefly, until its
        // builder has hidden it, so that whatever the caller shows next (an
        // error message) never appears beside the splash.
        for (DWORD start = GetTickCount(); gState.phase() != SplashState::Phase::Hidden;) {
            if (GetTickCount() - start > kBuildWaitMs) break;
            Sleep(1);
        }
        break;
    case SplashState::HideAnswer::Nothing:
        break;
    }
}

void setStatusText(const char16_t* text, std::size_t length) {
    if (!gState.windowBuilt()) return;
    HWND window = gWindow;
    if (window == nullptr) return;
    std::string narrow = statusLineText(text, length, toAnsi);
    SendMessageA(window, kStatusTextMessage, 0, reinterpret_cast<LPARAM>(&narrow));
}

bool waitForSplashEnd(unsigned timeoutMs) {
    HANDLE thread = gThread;
    return thread == nullptr || WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
}

void resetSplash() {
    if (HANDLE thread = gThread.exchange(nullptr)) CloseHandle(thread);
    gWindow = nullptr;
    gState.reset();
    resetSplashController();
}

}  // namespace vexal
