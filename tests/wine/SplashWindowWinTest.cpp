// The splash window in this process: its build, its place and styles, its
// painting, the status line and the hide request racing the build. The
// splash bitmap is this program's own resource 10000 (SplashWindowWin.rc).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "splash/Splash.h"
#include "splash/TestSeams.h"
#include "tests/support/Waiting.h"

using namespace vexal;

namespace {

constexpr char kClassName[] = "VexalSplashScreen";
constexpr int kWidth = 200, kHeight = 120;
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr std::uint32_t kLightGrey = 0xC0C0C0, kWhite = 0xFFFFFF;
constexpr std::uint32_t kStatusColour = 0xFF00FF, kVersionColour = 0x00FFFF;
// Where the two lines are drawn: status over the grey right of the bitmap,
// version over its blue and yellow lower half.
constexpr RECT kStatusArea{100, 8, kWidth, 40};
constexpr RECT kVersionArea{4, 36, 96, 64};

// The splash window of this process, if any.
HWND findSplash() {
    struct Search {
        DWORD process;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = "";
            GetClassNameA(window, name, sizeof name);
            if (owner != s->process || std::string(name) != kClassName) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

const DWORD kPatienceMs = DWORD(vexal::testing::kPatience.count());

HWND waitForVisibleSplash(DWORD timeoutMs = kPatienceMs) {
    const DWORD start = GetTickCount();
    do {
        HWND window = findSplash();
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(5);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

// The window's client area as 0xRRGGBB values, read back through its device
// context after a synchronous repaint. Under Wine the painted pixels reach
// the window's surface a little after the paint returns (a busy machine has
// given an all-black read): reads go on until two in a row agree and are
// not all black, within the patience.
class Capture {
public:
    explicit Capture(HWND window) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        pixels_ = read(window);
        for (const DWORD start = GetTickCount(); GetTickCount() - start < kPatienceMs;) {
            Sleep(10);
            std::vector<std::uint32_t> again = read(window);
            const bool settled = again == pixels_;
            pixels_.swap(again);
            if (settled && !allBlack()) break;
        }
    }
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF; }
    int count(const RECT& area, std::uint32_t colour) const {
        int n = 0;
        for (int y = area.top; y < area.bottom && y < height_; ++y)
            for (int x = area.left; x < area.right && x < width_; ++x) n += at(x, y) == colour;
        return n;
    }

private:
    std::vector<std::uint32_t> read(HWND window) const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC device = GetDC(window);
        HDC memory = CreateCompatibleDC(device);
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(device, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width_, height_, device, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> copy(pixels, pixels + static_cast<std::size_t>(width_) * height_);
        SelectObject(memory, previous);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(window, device);
        for (std::uint32_t& pixel : copy) pixel &= 0xFFFFFF;
        return copy;
    }
    bool allBlack() const {
        for (std::uint32_t pixel : pixels_)
            if (pixel != 0) return false;
        return true;
    }

    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

class SplashWindowWin : public ::testing::Test {
protected:
    void SetUp() override { startOver(); }
    // No splash, no owner window, the store of every test.
    static void startOver() {
        resetSplash();
        setErrorOwnerWindow(nullptr);
        ConfigStore& store = configStore();
        store.clear();
        store.setNarrow(101, "Splash Test App");
        store.setNarrow(141, std::to_string(kWidth));
        store.setNarrow(142, std::to_string(kHeight));
        store.setNarrow(10109, std::to_string(kStatusArea.left));
        store.setNarrow(10110, std::to_string(kStatusArea.top));
        store.setNarrow(10111, "Status");
        store.setNarrow(10112, "Tahoma");
        store.setNarrow(10113, "14");
        store.setNarrow(10114, "255,0,255");
        store.setNarrow(10115, "700");
        store.setNarrow(10116, std::to_string(kVersionArea.left));
        store.setNarrow(10117, std::to_string(kVersionArea.top));
        store.setNarrow(10118, "v1.2");
        store.setNarrow(10119, "Tahoma");
        store.setNarrow(10120, "12");
        store.setNarrow(10121, "0,255,255");
        store.setNarrow(10122, "700");
    }
    void TearDown() override {
        hideSplash();
        EXPECT_TRUE(waitForSplashEnd(kPatienceMs)) << "the splash thread did not end after a hide";
        resetSplash();
        configStore().clear();
    }
};

TEST_F(SplashWindowWin, BuildsACentredPopupTitledByTheApplication) {
    struct Row {
        const char* topmostEntry;
        bool topmost;
    } rows[] = {{nullptr, false}, {"0", false}, {"1", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.topmostEntry ? row.topmostEntry : "no entry 147");
        startOver();
        if (row.topmostEntry) configStore().setNarrow(147, row.topmostEntry);
        startSplash(SW_SHOWNORMAL);
        HWND window = waitForVisibleSplash();
        ASSERT_NE(window, nullptr);

        char title[64] = "";
        GetWindowTextA(window, title, sizeof title);
        EXPECT_STREQ(title, "Splash Test App");
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_CHILD));
        EXPECT_EQ((exStyle & WS_EX_TOPMOST) != 0, row.topmost);
        EXPECT_EQ(exStyle & ~WS_EX_TOPMOST, 0) << std::hex << exStyle;
        EXPECT_EQ(GetClassLongA(window, GCL_STYLE), 0x23u);
        EXPECT_EQ(errorOwnerWindow(), static_cast<WindowRef>(window));

        RECT desktop{}, placed{};
        GetWindowRect(GetDesktopWindow(), &desktop);
        GetWindowRect(window, &placed);
        EXPECT_EQ(placed.right - placed.left, kWidth);
        EXPECT_EQ(placed.bottom - placed.top, kHeight);
        EXPECT_EQ(placed.left, (desktop.right - desktop.left - kWidth) / 2);
        EXPECT_EQ(placed.top, (desktop.bottom - desktop.top - kHeight) / 2);

        hideSplash();
        EXPECT_FALSE(IsWindowVisible(window));
        ASSERT_TRUE(waitForSplashEnd(kPatienceMs));
    }
}

// A window taller than the desktop is centred on it all the same: the top
// edge goes above the desktop by half the difference.
TEST_F(SplashWindowWin, CentresAWindowLargerThanTheDesktop) {
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int height = desktop.bottom - desktop.top + 101;
    configStore().setNarrow(142, std::to_string(height));
    startSplash(SW_SHOWNORMAL);
    HWND window = waitForVisibleSplash();
    ASSERT_NE(window, nullptr);
    RECT placed{};
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.top, (desktop.bottom - desktop.top - height) / 2);  // -50, rounded toward zero
}

TEST_F(SplashWindowWin, PaintsTheBitmapOverLightGreyAndBothLines) {
    startSplash(SW_SHOWNORMAL);
    HWND window = waitForVisibleSplash();
    ASSERT_NE(window, nullptr);
    Capture shot(window);
    ASSERT_EQ(shot.width(), kWidth);
    ASSERT_EQ(shot.height(), kHeight);

    struct Point {
        const char* where;
        int x, y;
        std::uint32_t colour;
    } points[] = {
        {"bitmap top left corner", 0, 0, kRed},
        {"red quadrant", 20, 10, kRed},
        {"green quadrant", 90, 2, kGreen},
        {"green quadrant's last pixel", 95, 31, kGreen},
        {"blue quadrant", 40, 60, kBlue},
        {"yellow quadrant", 90, 60, kYellow},
        {"right of the bitmap", 96, 0, kLightGrey},
        {"below the bitmap", 0, 64, kLightGrey},
        {"far corner", kWidth - 1, kHeight - 1, kLightGrey},
        {"under the status line", 150, 100, kLightGrey},
    };
    for (const Point& p : points) {
        EXPECT_EQ(shot.at(p.x, p.y), p.colour) << p.where << " (" << p.x << "," << p.y << ") " << std::hex
                                               << shot.at(p.x, p.y);
    }
    EXPECT_GT(shot.count(kStatusArea, kStatusColour), 20);
    EXPECT_GT(shot.count(kVersionArea, kVersionColour), 20);
    // Each colour stays within its line's area.
    EXPECT_EQ(shot.count(RECT{0, 0, kWidth, kHeight}, kStatusColour), shot.count(kStatusArea, kStatusColour));
    // Transparent text: no background box behind the version line.
    EXPECT_EQ(shot.count(kVersionArea, kWhite), 0);
    EXPECT_GT(shot.count(kVersionArea, kBlue), 100);
}

TEST_F(SplashWindowWin, StatusTextChangesOnlyOnceTheWindowExists) {
    configStore().setNarrow(10111, "");
    const std::u16string early = u"Too early";
    setStatusText(early.data(), early.size());
    startSplash(SW_SHOWNORMAL);
    HWND window = waitForVisibleSplash();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Capture(window).count(kStatusArea, kStatusColour), 0) << "an empty status line draws nothing";
    EXPECT_GT(Capture(window).count(kVersionArea, kVersionColour), 20) << "the version line still shows";

    const std::u16string text = u"Loading\0 and what follows the zero";
    setStatusText(text.data(), 4);  // "Load"
    const int fourLetters = Capture(window).count(kStatusArea, kStatusColour);
    EXPECT_GT(fourLetters, 20);
    setStatusText(text.data(), text.size());  // "Loading": stops at the zero
    const int sevenLetters = Capture(window).count(kStatusArea, kStatusColour);
    EXPECT_GT(sevenLetters, fourLetters);
    setStatusText(text.data(), 0);
    EXPECT_EQ(Capture(window).count(kStatusArea, kStatusColour), 0);

    // A text far longer than the status buffer is cut, not overrun.
    const std::u16string huge(20000, u'W');
    setStatusText(huge.data(), huge.size());
    EXPECT_GT(Capture(window).count(kStatusArea, kStatusColour), 20);
}

TEST_F(SplashWindowWin, ShowCommandZeroStartsNoThreadAndKeepsALaterOneFromBuilding) {
    startSplash(0);
    EXPECT_TRUE(waitForSplashEnd(0)) << "a splash thread was started";
    Sleep(200);
    EXPECT_EQ(findSplash(), nullptr);
    // The zero command was a hide request: a thread started after it builds
    // nothing.
    startSplash(SW_SHOWNORMAL);
    EXPECT_TRUE(waitForSplashEnd(kPatienceMs));
    EXPECT_EQ(findSplash(), nullptr);
}

// The thread notices at its next poll that the window is hidden and ends on
// its own (how soon is the timer's, and a loaded machine's, affair).
TEST_F(SplashWindowWin, HiddenSplashEndsItsThread) {
    startSplash(SW_SHOWNORMAL);
    HWND window = waitForVisibleSplash();
    ASSERT_NE(window, nullptr);
    const DWORD start = GetTickCount();
    hideSplash();
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_TRUE(waitForSplashEnd(kPatienceMs));
    RecordProperty("ended_after_ms", static_cast<int>(GetTickCount() - start));
    EXPECT_FALSE(IsWindow(window)) << "the window goes with its thread";
}

// Waits for the splash thread to end while answering what other threads send
// to this one's windows.
bool pumpUntilSplashEnds(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (waitForSplashEnd(10)) return true;
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

// With entry 145 the splash closes once the application shows a window of
// its own; without it the splash stays.
TEST_F(SplashWindowWin, ClosesWhenTheApplicationShowsAWindowOnlyWithEntry145) {
    struct Row {
        const char* entry;
        bool closes;
    } rows[] = {{"1", true}, {nullptr, false}, {"0", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry ? row.entry : "no entry 145");
        startOver();
        if (row.entry) configStore().setNarrow(145, row.entry);
        startSplash(SW_SHOWNOACTIVATE);
        HWND splash = waitForVisibleSplash();
        ASSERT_NE(splash, nullptr);
        EXPECT_FALSE(pumpUntilSplashEnds(400)) << "closed before the application showed a window";

        HWND own = CreateWindowExA(0, "STATIC", "application window", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(pumpUntilSplashEnds(row.closes ? kPatienceMs : 600), row.closes);
        if (row.closes) EXPECT_FALSE(IsWindow(splash));
        else EXPECT_TRUE(IsWindowVisible(splash));
        DestroyWindow(own);
        hideSplash();
        ASSERT_TRUE(pumpUntilSplashEnds(kPatienceMs));
    }
}

// Busy-waits for a number of microseconds (Sleep is far too coarse to land
// inside the build).
void spinMicroseconds(long long micros) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    do QueryPerformanceCounter(&now);
    while ((now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart < micros);
}

long long microsecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return (now.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
}

// Hide requests at random moments from before the thread runs to after the
// window is up: when the request returns no splash is visible, and the thread
// ends; a request lost during the build would leave the thread polling a
// visible window for ever.
TEST_F(SplashWindowWin, HideRacingTheBuildNeverLeavesAVisibleSplash) {
    // How long does a build take from the start request to a visible window?
    long long buildMicros = 0;
    for (int i = 0; i < 3; ++i) {
        resetSplash();
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        startSplash(SW_SHOWNORMAL);
        while (!(findSplash() && IsWindowVisible(findSplash())) && microsecondsSince(start) < kPatienceMs * 1000LL) {}
        buildMicros = std::max(buildMicros, microsecondsSince(start));
        hideSplash();
        ASSERT_TRUE(waitForSplashEnd(kPatienceMs));
    }

    std::mt19937 random(20240607);
    std::uniform_int_distribution<long long> delay(0, buildMicros * 3 / 2);
    int noWindowYet = 0, windowNotShown = 0, windowShown = 0;
    // At least 200 requests, and on until both ends of the build have been
    // hit (a loaded machine moves the build's length between the measurement
    // and the requests); the last request of the first 200 comes once the
    // window is up.
    for (int iteration = 0; iteration < 2000 && (iteration < 200 || noWindowYet == 0 || windowShown == 0);
         ++iteration) {
        resetSplash();
        startSplash(SW_SHOWNOACTIVATE);
        if (iteration == 199) {
            ASSERT_NE(waitForVisibleSplash(), nullptr);
        } else {
            spinMicroseconds(delay(random));
        }
        HWND before = findSplash();
        const bool wasVisible = before != nullptr && IsWindowVisible(before);
        hideSplash();
        // Nothing is on screen once the request returns, whatever the build
        // had reached; and the thread ends.
        HWND after = findSplash();
        ASSERT_TRUE(after == nullptr || !IsWindowVisible(after)) << "iteration " << iteration;
        ASSERT_TRUE(waitForSplashEnd(kPatienceMs)) << "iteration " << iteration << ": the hide was lost";
        after = findSplash();
        ASSERT_TRUE(after == nullptr || !IsWindowVisible(after)) << "iteration " << iteration;
        if (before == nullptr) ++noWindowYet;
        else if (!wasVisible) ++windowNotShown;
        else ++windowShown;
    }
    std::printf("build %lld us; hides with no window yet / window not shown / shown: %d / %d / %d\n", buildMicros,
                noWindowYet, windowNotShown, windowShown);
    EXPECT_GT(noWindowYet, 0);
    EXPECT_GT(windowShown, 0);
}

}  // namespace
