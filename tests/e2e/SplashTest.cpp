// The splash screen of a generated executable under Wine, seen on the X
// display: where it appears and what it shows, its status line driven by the
// scripted JNI stand-in's controller answers, the rules that close it, the
// error box it owns, the starts that show none, and the console title of a
// console launcher. The stand-in's main also plays the application: it
// traces the splash window's state and shows a window of its own on cue.
//
// These tests look at the whole screen, so they run one at a time in a Wine
// session (and X server) of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "generator/Build.h"
#include "tests/e2e/Launchers.h"
#include "tests/e2e/SearchRuns.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/JavaHomes.h"
#include "tests/support/Screen.h"
#include "tests/support/Waiting.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The bitmap: 320x200 in four coloured quadrants; the window is larger.
constexpr int kBitmapWidth = 320, kBitmapHeight = 200;
constexpr int kSplashWidth = 400, kSplashHeight = 260;
constexpr int kScreenWidth = 1024, kScreenHeight = 768;
constexpr Rgb kTopLeft{220, 40, 40}, kTopRight{40, 170, 70}, kBottomLeft{50, 70, 210}, kBottomRight{240, 200, 30};
constexpr Rgb kLightGrey{192, 192, 192};
constexpr Rgb kStatusColour{255, 255, 255}, kVersionColour{0, 0, 128};
constexpr Rgb kAppWindowColour{255, 0, 255};  // the stand-in application's window
// Centred with integer division.
const Rect kSplash{(kScreenWidth - kSplashWidth) / 2, (kScreenHeight - kSplashHeight) / 2, kSplashWidth,
                   kSplashHeight};
// The text lines (window coordinates) and the areas their glyphs fall in.
constexpr int kStatusX = 20, kStatusY = 24, kVersionX = 244, kVersionY = 226;
const Rect kStatusArea{kStatusX - 4, kStatusY - 4, 300, 34};
const Rect kVersionArea{kVersionX - 4, kVersionY - 4, 156, 34};
// The stand-in's window: 480x360, centred, so it covers the splash.
const Rect kAppWindow{(kScreenWidth - 480) / 2, (kScreenHeight - 360) / 2, 480, 360};

constexpr milliseconds kWaitLimit = kPatience;

constexpr const char* kController = "com/vexal/runtime/VexalController";

Rect onScreen(const Rect& windowArea) {
    return Rect{kSplash.x + windowArea.x, kSplash.y + windowArea.y, windowArea.width, windowArea.height};
}

Rgb screenPixel(const Image& screen, int windowX, int windowY) {
    return screen.at(kSplash.x + windowX, kSplash.y + windowY);
}

// ---- The bitmap ----

void add16(std::string& out, unsigned value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void add32(std::string& out, unsigned value) {
    add16(out, value & 0xFFFF);
    add16(out, value >> 16);
}

Rgb quadrantColour(int x, int y) {
    const bool left = x < kBitmapWidth / 2, top = y < kBitmapHeight / 2;
    return top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
}

// A 24-bit bottom-up BMP of the four quadrants (rows need no padding).
std::string quadrantBitmap() {
    static_assert(kBitmapWidth * 3 % 4 == 0, "rows without padding");
    const unsigned pixelBytes = kBitmapWidth * kBitmapHeight * 3;
    std::string out = "BM";
    add32(out, 54 + pixelBytes);
    add32(out, 0);
    add32(out, 54);
    add32(out, 40);
    add32(out, kBitmapWidth);
    add32(out, kBitmapHeight);
    add16(out, 1);
    add16(out, 24);
    add32(out, 0);
    add32(out, pixelBytes);
    add32(out, 2835);
    add32(out, 2835);
    add32(out, 0);
    add32(out, 0);
    for (int y = kBitmapHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kBitmapWidth; ++x) {
            const Rgb c = quadrantColour(x, y);
            out.push_back(static_cast<char>(c.b));
            out.push_back(static_cast<char>(c.g));
            out.push_back(static_cast<char>(c.r));
        }
    }
    return out;
}

// ---- The stand-in's trace ----

Lines readLines(const fs::path& path) {
    Lines lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

// The tick count at the end of a trace line (" t=<ms>"); -1 without one.
long tickOf(const std::string& line) {
    const std::size_t at = line.rfind(" t=");
    return at == std::string::npos ? -1 : std::stol(line.substr(at + 3));
}

// Index of the first line at or after from that starts with head; -1 if none.
int findLine(const Lines& lines, const std::string& head, int from = 0) {
    for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i)
        if (startsWith(lines[i], head)) return i;
    return -1;
}

int countLines(const Lines& lines, const std::string& head, int from = 0) {
    int n = 0;
    for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) n += startsWith(lines[i], head);
    return n;
}

// The trace lines about the splash window's state.
const std::string kSplashState = "splash exists=";
const std::string kSplashShown = "splash exists=1 visible=1";
const std::string kGetAction = "CallStaticIntMethod getAction -> ";

// The first trace line that shows the splash no longer visible after it was
// (hidden, or already gone with its thread); -1 if none.
int findHidden(const Lines& lines) {
    const int shown = findLine(lines, kSplashShown);
    for (int i = shown < 0 ? static_cast<int>(lines.size()) : shown + 1; i < static_cast<int>(lines.size()); ++i)
        if (startsWith(lines[i], kSplashState) && lines[i].find(" visible=0") != std::string::npos) return i;
    return -1;
}
// ---- One generated application and one run of it ----

// A stub root whose x64 directory links to the stubs under test.
fs::path stubRoot(const fs::path& dir) {
    fs::path root = dir / "stubs";
    fs::create_directories(root / "x64");
    for (const char* name : {"vexal-stub-gui.exe", "vexal-stub-console.exe"})
        fs::create_symlink(fs::path(harness().stubsX64) / name, root / "x64" / name);
    return root;
}

std::string projectFile(const std::string& title) {
    return "output = \"app.exe\"\n"
           "[application]\n"
           "name = \"" + title + "\"\n"
           "main-class = \"com.example.App\"\n"
           "type = \"gui\"\n"
           "[java]\n"
           "search-sequence = ['B.\\jre']\n"
           "[splash]\n"
           "bitmap = \"splash.bmp\"\n"
           "width = " + std::to_string(kSplashWidth) + "\n"
           "height = " + std::to_string(kSplashHeight) + "\n"
           "close-on-window = false\n"
           "topmost = false\n"
           "[splash.status]\n"
           "x = " + std::to_string(kStatusX) + "\n"
           "y = " + std::to_string(kStatusY) + "\n"
           "text = \"Starting\"\n"
           "font = \"Tahoma\"\n"
           "size = 14\n"
           "weight = 700\n"
           "color = [255, 255, 255]\n"
           "[splash.version]\n"
           "x = " + std::to_string(kVersionX) + "\n"
           "y = " + std::to_string(kVersionY) + "\n"
           "text = \"version 2.5\"\n"
           "font = \"Tahoma\"\n"
           "size = 14\n"
           "weight = 700\n"
           "color = [0, 0, 128]\n";
}

// What the runtime launcher's main needs, and the controller when asked for.
std::string launchScript(bool withController) {
    std::string script =
        "class com/vexal/runtime/WinLauncher\nclass java/lang/String\n"
        "method com/vexal/runtime/WinLauncher main ([Ljava/lang/String;)V\n";
    if (withController) {
        script += std::string("class ") + kController + "\nmethod " + kController + " getAction ()I\nmethod " +
                  kController + " getText ()Ljava/lang/String;\n";
    }
    return script;
}

struct ScreenWait {
    bool met = false;
    Image last;  // the last screenshot taken
};

class SplashTest : public ::testing::Test {
protected:
    fs::path dir = testWorkDir();
    std::string title = "Vexal Splash Probe " + std::to_string(::getpid());
    std::vector<std::string> overrides;  // --set KEY=VALUE of this test
    std::string script = launchScript(true) + "hold release\n";
    int showWindow = -1;
    std::unique_ptr<Subprocess> runner;

    ~SplashTest() override { finish(); }

    fs::path libraryDir() const { return dir / "jre" / "bin" / "client"; }
    fs::path tracePath() const { return libraryDir() / "jni-trace.txt"; }
    Lines trace() const { return readLines(tracePath()); }

    // Builds the executable with the generator and lays out its runtime.
    fs::path build() {
        writeText(dir / "splash.bmp", quadrantBitmap());
        writeText(dir / "app.toml", projectFile(title));
        gen::BuildRequest request;
        request.projectFile = dir / "app.toml";
        request.stubRoots = {stubRoot(dir)};
        request.overrides = overrides;
        const fs::path exe = gen::buildExecutable(request).output;
        makeRuntime(dir / "jre", "client", "jni-standin/jvm.dll");
        writeText(libraryDir() / "script.txt", script);
        return exe;
    }

    RunnerSpec spec(const fs::path& exe) const {
        RunnerSpec s;
        s.app = exe.string();
        s.environment = baseEnvironment();
        s.showWindow = showWindow;
        s.timeoutMs = 60000;
        return s;
    }

    void start(const RunnerSpec& s) { runner = startThroughRunner(s, dir.string()); }
    void start() { start(spec(build())); }

    // A gate of the stand-in's script (a file beside the library).
    void open(const std::string& gate) const { writeText(libraryDir() / gate, "open"); }

    ProcessResult finish() {
        if (!runner) return {};
        open("release");
        ProcessResult result = runner->finish(milliseconds(60000));
        runner.reset();
        return result;
    }

    // Ends the run and says how it ended (for the message of a failed wait).
    std::string endedRun() {
        const ProcessResult r = finish();
        return "\nrun ended with " + std::to_string(r.exitCode) + "\nout: " + r.out + "\nerr: " + r.err;
    }

    bool waitForTrace(const std::function<bool(const Lines&)>& done, milliseconds limit = kWaitLimit) const {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            if (done(trace())) return true;
            std::this_thread::sleep_for(milliseconds(20));
        }
        return done(trace());
    }

    bool waitForLine(const std::string& head, int from = 0) const {
        return waitForTrace([&](const Lines& lines) { return findLine(lines, head, from) >= 0; });
    }

    std::optional<Image> screen() const { return captureScreen((dir / "screen.ppm").string()); }

    ScreenWait waitForScreen(const std::function<bool(const Image&)>& done, milliseconds limit = kWaitLimit) const {
        ScreenWait wait;
        const auto end = Clock::now() + limit;
        do {
            if (auto shot = screen()) {
                wait.last = *shot;
                if (done(wait.last)) {
                    wait.met = true;
                    return wait;
                }
            }
            std::this_thread::sleep_for(milliseconds(50));
        } while (Clock::now() < end);
        return wait;
    }
};

// The bitmap's top-left quadrant fills exactly its place in a centred
// window: the splash is up and painted.
bool splashPainted(const Image& screen) {
    const auto bounds = screen.boundsOf(kTopLeft);
    return bounds && *bounds == Rect{kSplash.x, kSplash.y, kBitmapWidth / 2, kBitmapHeight / 2};
}

bool splashGone(const Image& screen) { return screen.count(kSplash, kTopLeft) == 0; }

// ---- Where it appears and what it shows ----

TEST_F(SplashTest, CentredWithTheBitmapLightGreyBeyondItAndBothTexts) {
    start();
    const ScreenWait shown = waitForScreen(splashPainted);
    ASSERT_TRUE(shown.met) << "no painted splash at " << describe(kSplash);
    const Image& screen = shown.last;

    // The X window itself: one visible window of that title, centred.
    const std::vector<Rect> windows = visibleWindowsNamed(title);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(describe(windows[0]), describe(kSplash));

    struct Point {
        int x, y;
        Rgb expected;
    } points[] = {
        {0, 0, kTopLeft},
        {159, 99, kTopLeft},
        {100, 80, kTopLeft},
        {160, 0, kTopRight},
        {319, 99, kTopRight},
        {250, 60, kTopRight},
        {0, 100, kBottomLeft},
        {159, 199, kBottomLeft},
        {80, 150, kBottomLeft},
        {160, 100, kBottomRight},
        {319, 199, kBottomRight},
        {250, 150, kBottomRight},
        // Where the bitmap ends: the light-grey background.
        {320, 0, kLightGrey},
        {320, 199, kLightGrey},
        {319, 200, kLightGrey},
        {0, 200, kLightGrey},
        {360, 120, kLightGrey},
        {100, 240, kLightGrey},
        {399, 259, kLightGrey},
    };
    for (const Point& p : points) {
        EXPECT_EQ(describe(screenPixel(screen, p.x, p.y)), describe(p.expected)) << "at " << p.x << "," << p.y;
    }

    // Each text in its colour, beginning at its position (the glyphs start a
    // little right of and below the text origin).
    struct Text {
        const char* name;
        Rect area;
        Rgb colour;
        int x, y;
    } texts[] = {
        {"status", kStatusArea, kStatusColour, kStatusX, kStatusY},
        {"version", kVersionArea, kVersionColour, kVersionX, kVersionY},
    };
    const Image splash(kSplashWidth, kSplashHeight, screen.pixelsOf(kSplash));
    for (const Text& t : texts) {
        SCOPED_TRACE(t.name);
        EXPECT_GT(splash.count(t.area, t.colour), 20);
        const auto bounds = splash.boundsOf(t.colour);
        ASSERT_TRUE(bounds);
        EXPECT_GE(bounds->x, t.x);
        EXPECT_LE(bounds->x, t.x + 4);
        EXPECT_GE(bounds->y, t.y);
        EXPECT_LE(bounds->y, t.y + 10);
        EXPECT_LE(bounds->x + bounds->width, t.area.x + t.area.width) << describe(*bounds);
        EXPECT_LE(bounds->y + bounds->height, t.area.y + t.area.height) << describe(*bounds);
    }

    // The picture of the documentation.
    EXPECT_TRUE(saveScreenArea(kSplash, (dir / "splash.png").string()));
    EXPECT_EQ(finish().exitCode, 0);
}

// Entry 147 keeps the splash above the application's window, which is shown
// after the splash and covers it; without it the new window comes above the
// splash. The order is the window manager's z-order, as the application sees
// it: Wine's X windows without a window manager do not follow a topmost
// window (a newer window covers it on the display), so only the window that
// is not topmost is also looked at on the screen.
TEST_F(SplashTest, TopmostStaysAboveTheApplicationWindow) {
    struct Row {
        const char* topmost;
        bool above;
    } rows[] = {{"true", true}, {"false", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.topmost);
        finish();
        dir = testWorkDir() + "-" + row.topmost;
        fs::remove_all(dir);
        overrides = {std::string("splash.topmost=") + row.topmost};
        script = launchScript(false) + "hold release\nwindow 0\nwindow-gate show-window\n";
        start();
        ASSERT_TRUE(waitForScreen(splashPainted).met) << endedRun();
        open("show-window");
        ASSERT_TRUE(waitForLine("zorder "));
        const Lines lines = trace();
        EXPECT_GE(findLine(lines, std::string(kSplashShown) + " topmost=" + (row.above ? "1" : "0")), 0)
            << ::testing::PrintToString(lines);
        EXPECT_EQ(lines[findLine(lines, "zorder ")],
                  std::string("zorder splash-above-window=") + (row.above ? "1" : "0"));
        if (!row.above) {
            const ScreenWait covered = waitForScreen(
                [](const Image& s) { return s.count(kSplash, kAppWindowColour) == kSplash.width * kSplash.height; });
            EXPECT_TRUE(covered.met) << "the application's window does not cover the splash";
        }
        EXPECT_EQ(findHidden(trace()), -1);
        EXPECT_EQ(finish().exitCode, 0);
    }
}

// ---- The controller's actions ----

// getAction answers 2, 2, 2 and 1, each once its gate is opened; getText
// answers two texts and then null.
TEST_F(SplashTest, StatusLineFollowsTheControllerAndActionOneCloses) {
    script = launchScript(true) +
             "action 2 first\ntext First status\n"
             "action 2 second\ntext Second status\n"
             "action 2 third\n"
             "action 1 close\n"
             "hold release\n";
    start();
    const ScreenWait shown = waitForScreen(splashPainted);
    ASSERT_TRUE(shown.met);
    const Rect statusOnScreen = onScreen(kStatusArea);
    std::vector<Rgb> status = shown.last.pixelsOf(statusOnScreen);

    // Each new text repaints the status line.
    for (const char* gate : {"first", "second"}) {
        SCOPED_TRACE(gate);
        open(gate);
        ASSERT_TRUE(waitForLine(kGetAction + "2 gate " + gate));
        const ScreenWait changed =
            waitForScreen([&](const Image& s) { return s.pixelsOf(statusOnScreen) != status; });
        ASSERT_TRUE(changed.met) << "the status area did not change";
        EXPECT_GT(changed.last.count(statusOnScreen, kStatusColour), 20);
        EXPECT_TRUE(splashPainted(changed.last));
        status = changed.last.pixelsOf(statusOnScreen);
    }

    // getText answers null: the line stays as it was through later polls.
    open("third");
    ASSERT_TRUE(waitForLine(kGetAction + "2 gate third"));
    int third = findLine(trace(), kGetAction + "2 gate third");
    ASSERT_TRUE(waitForTrace([&](const Lines& l) { return countLines(l, kGetAction, third + 1) >= 3; }));
    {
        const Lines lines = trace();
        const int getText = findLine(lines, "CallStaticObjectMethod getText", third + 1);
        ASSERT_GE(getText, 0);
        EXPECT_EQ(lines[getText], "CallStaticObjectMethod getText -> NULL");
    }
    const auto after = screen();
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->pixelsOf(statusOnScreen) == status) << "the status area changed on a null text";

    // Action 1: the poll that gets it hides the splash, and the thread
    // detaches without another poll. (The stand-in answers 1 from the first
    // poll after the gate exists; how soon that poll comes is the timer's.)
    open("close");
    ASSERT_TRUE(waitForTrace([](const Lines& l) {
        const int answered = findLine(l, kGetAction + "1 gate close");
        return answered >= 0 && findHidden(l) >= 0 && findLine(l, "DetachCurrentThread", answered + 1) >= 0;
    })) << ::testing::PrintToString(trace());
    EXPECT_TRUE(waitForScreen(splashGone).met);
    const Lines lines = trace();
    const int seen = findLine(lines, "gate close seen"), answered = findLine(lines, kGetAction + "1 gate close"),
              hidden = findHidden(lines);
    if (seen >= 0) RecordProperty("hidden_after_ms", static_cast<int>(tickOf(lines[hidden]) - tickOf(lines[seen])));
    EXPECT_GT(hidden, answered);
    EXPECT_EQ(countLines(lines, kGetAction, answered + 1), 0) << "polled after action 1";
    EXPECT_EQ(finish().exitCode, 0);
}

// ---- The close-on-window rule ----

TEST_F(SplashTest, ClosesWhenTheApplicationShowsAWindowOnlyWithTheRule) {
    struct Row {
        const char* closeOnWindow;
        bool closes;
    } rows[] = {{"true", true}, {"false", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.closeOnWindow);
        finish();
        dir = testWorkDir() + "-" + row.closeOnWindow;
        fs::remove_all(dir);
        overrides = {std::string("splash.close-on-window=") + row.closeOnWindow};
        // The controller answers 0 at every poll: its trace lines count the
        // polls (a poll counts the windows first, then asks the controller).
        script = launchScript(true) + "hold release\nwindow 0\nwindow-gate show-window\n";
        start();
        ASSERT_TRUE(waitForScreen(splashPainted).met) << endedRun();
        // Ten polls with the splash as the process's only window.
        ASSERT_TRUE(waitForTrace([](const Lines& l) { return countLines(l, kGetAction) >= 10; }));
        EXPECT_EQ(findHidden(trace()), -1) << "closed before the application's window";
        open("show-window");
        ASSERT_TRUE(waitForLine("window shown"));
        if (row.closes) {
            ASSERT_TRUE(waitForTrace([](const Lines& l) { return findHidden(l) >= 0; }));
            const Lines lines = trace();
            const int shown = findLine(lines, "window shown"), hidden = findHidden(lines);
            RecordProperty("closed_after_ms", static_cast<int>(tickOf(lines[hidden]) - tickOf(lines[shown])));
            // Closed by the first poll that counted the new window: at most
            // the poll under way when it appeared asked the controller since.
            int polls = 0;
            for (int i = shown + 1; i < hidden; ++i) polls += startsWith(lines[i], kGetAction);
            EXPECT_LE(polls, 1) << ::testing::PrintToString(lines);
        } else {
            // Ten polls later the splash is still up (under the window).
            const int shown = findLine(trace(), "window shown");
            ASSERT_TRUE(waitForTrace([&](const Lines& l) { return countLines(l, kGetAction, shown + 1) >= 10; }));
            const Lines lines = trace();
            EXPECT_EQ(findHidden(lines), -1) << ::testing::PrintToString(lines);
        }
        EXPECT_EQ(finish().exitCode, 0);
    }
}

// ---- An error while the splash is up ----

// The version probe of the only Java home waits for its gate, so the search
// fails (too old a version, message 1001) only once the splash is seen.
TEST_F(SplashTest, SearchErrorHidesTheSplashBeforeTheBoxItOwns) {
    // A path of its own: the version cache of the registry would otherwise
    // answer for the probe of an earlier run.
    const fs::path home = dir / ("javahome-" + std::to_string(std::chrono::system_clock::now().time_since_epoch().count()));
    StandinJava standin;
    standin.banner = "java version \"1.1.8\"";
    standin.ending = "await probe-gate";
    makeJavaHome(home.string(), JavaLayout::Jre, standin, true);
    overrides = {"java.search-sequence=['A" + windowsPath(home.string()) + "']", "java.min-version=\"1.5\""};
    RunnerSpec s = spec(build());
    s.watchBoxes = true;
    s.boxHoldMs = 1500;
    start(s);
    ASSERT_TRUE(waitForScreen(splashPainted).met) << endedRun();
    writeText(home / "bin" / "probe-gate", "open");

    ASSERT_TRUE(runner->waitForOutput([](const std::string& out) { return out.find("OWNER ") != std::string::npos; },
                                      kWaitLimit))
        << "no message box";
    // While the box is up, the splash is nowhere on the screen (the X
    // server may show the change a moment after Wine has made it).
    EXPECT_TRUE(waitForScreen(splashGone).met);
    const ProcessResult run = runner->finish(milliseconds(60000));
    runner.reset();

    EXPECT_EQ(run.exitCode, kExitNoJvm);
    const auto boxes = reportedBoxes(run.out);
    ASSERT_EQ(boxes.size(), 1u) << run.out;
    EXPECT_EQ(boxes[0].text.substr(0, 37), "No JVM could be found on your system.");
    EXPECT_TRUE(boxes[0].owned) << run.out;
    EXPECT_EQ(boxes[0].ownerClass, "VexalSplashScreen") << run.out;
    EXPECT_EQ(boxes[0].ownerTitle, title);
    EXPECT_FALSE(boxes[0].ownerVisible) << "the splash was still visible when the box came up";
    // Fifteen poll periods later the box is still up and still owned: the
    // hidden splash window lives on while the box it owns is shown.
    EXPECT_TRUE(boxes[0].upAfterHold) << run.out;
    EXPECT_TRUE(boxes[0].ownedAfterHold) << run.out;
}

// ---- Starts without a splash ----

struct QuietCase {
    const char* name;
    const char* show;  // splash.show
    int showWindow;    // the runner's show code; -1: none given
    bool splash;
};

class SplashStartTest : public SplashTest, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(SplashStartTest, SplashWindowOnlyWhenOnAndNotStartedHidden) {
    const QuietCase& c = GetParam();
    overrides = {std::string("splash.show=") + c.show};
    showWindow = c.showWindow;
    script = launchScript(true) + "sleep 1500\n";
    start();
    const ProcessResult run = runner->finish(milliseconds(60000));
    runner.reset();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const Lines lines = trace();
    ASSERT_GE(findLine(lines, "CallStaticVoidMethod main"), 0) << ::testing::PrintToString(lines);
    if (c.splash) {
        EXPECT_GE(findLine(lines, kSplashShown), 0) << ::testing::PrintToString(lines);
    } else {
        // Not even a hidden window, and no splash thread polling.
        EXPECT_EQ(findLine(lines, kSplashState), -1) << ::testing::PrintToString(lines);
        EXPECT_EQ(findLine(lines, "AttachCurrentThread"), -1);
        EXPECT_EQ(findLine(lines, kGetAction), -1);
    }
}

const QuietCase kQuietCases[] = {
    {"Shown", "true", -1, true},
    {"ShownNormal", "true", 1, true},
    {"SwitchedOff", "false", -1, false},
    {"StartedHidden", "true", 0, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, SplashStartTest, ::testing::ValuesIn(kQuietCases),
                         [](const ::testing::TestParamInfo<QuietCase>& info) { return info.param.name; });

// ---- The console title ----

// A console launcher learns its console window by giving the console a
// temporary title for a moment; the user's title is back after the first
// count of windows (the close-on-window rule counts at every poll).
TEST_F(SplashTest, ConsoleTitleIsTheSameAfterTheFirstCount) {
    overrides = {"application.type=\"console\"", "splash.close-on-window=true"};
    script = launchScript(true) + "hold release\nwatch-title\n";
    RunnerSpec s = spec(build());
    s.consoleTitle = "Vexal console " + std::to_string(::getpid());
    start(s);
    // The stand-in samples the title from its own loop: its latest sample
    // may still be the temporary title for a while.
    const auto titlesOf = [](const Lines& lines) {
        Lines titles;
        for (const std::string& line : lines)
            if (startsWith(line, "title ")) titles.push_back(line.substr(6, line.rfind(" t=") - 6));
        return titles;
    };
    waitForTrace([&](const Lines& l) {
        const Lines titles = titlesOf(l);
        return countLines(l, kGetAction) >= 3 && !titles.empty() && titles.back() == s.consoleTitle;
    });
    const Lines lines = trace();
    EXPECT_GE(findLine(lines, kSplashShown), 0);
    const Lines titles = titlesOf(lines);
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.front(), s.consoleTitle);
    EXPECT_EQ(titles.back(), s.consoleTitle) << ::testing::PrintToString(titles);
    // Anything in between is the temporary "<ticks>/<process id>".
    const int process = findLine(lines, "process ");
    ASSERT_GE(process, 0);
    const std::regex temporary("-?[0-9]+/" + lines[process].substr(8));
    for (const std::string& t : titles) {
        if (t == s.consoleTitle) continue;
        EXPECT_TRUE(std::regex_match(t, temporary)) << t;
    }
    EXPECT_EQ(finish().exitCode, 0);
}

}  // namespace
}  // namespace vexal::testing
