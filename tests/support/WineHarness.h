#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/Subprocess.h"

namespace vexal::testing {

// Where the Wine tests find their tools. Built-in defaults come from the
// build; each can be overridden by the environment variable of the same name
// (VEXAL_WINE_RUN, VEXAL_WINE_SESSION, VEXAL_STUBS_X64, VEXAL_RUNNER,
// VEXAL_E2E_WORK), for instance to run the suite against other stubs.
struct HarnessSettings {
    std::string wineRun;   // tools/wine-run
    std::string session;   // the session directory of tools/wine-session
    std::string stubsX64;  // directory with vexal-stub-{gui,console}.exe
    std::string runner;    // fixtures/runner.exe
    std::string workRoot;  // scratch directories of the tests
};
const HarnessSettings& harness();

enum class StubKind { Gui, Console };
std::string stubPath(StubKind kind);
const char* stubKindName(StubKind kind);

// A fresh, empty directory under the work root.
std::string freshWorkDir(const std::string& name);

// The Windows view of an absolute Unix path: "Z:" and backslashes.
std::string windowsPath(const std::string& unixPath);

// A text as a text-mode C stream on Windows writes it: LF becomes CR LF.
std::string textMode(const std::string& text);

// The lines of a text written by a text-mode stream (CR LF line ends); a last
// line without its line end counts too.
std::vector<std::string> crlfLines(const std::string& text);

// How long the host lets one Windows program run before it ends it: longer
// than the runner's own limit below, so that the runner reports first.
constexpr std::chrono::milliseconds kRunLimit{90000};

// Runs a Windows program in the session: wine-run SESSION args... The
// switches of the diagnostic log are removed from the inherited environment.
ProcessResult wineRun(const std::vector<std::string>& args, std::chrono::milliseconds limit = kRunLimit);

// A run through the runner fixture: exact command line and environment.
struct RunnerSpec {
    std::string app;          // Unix path of the program
    std::string arguments;    // appended to the quoted program path
    std::string exactCommandLine;  // when set, the whole command line instead
    std::vector<std::string> environment;  // NAME=VALUE entries, exactly these
    bool watchBoxes = false;
    unsigned boxHoldMs = 0;
    int showWindow = -1;
    unsigned timeoutMs = 60000;  // the runner ends the child after this (a hang, not a slow start)
    std::string consoleTitle;  // the console's title (the child shares the runner's console)
    bool reportCpu = false;    // the runner writes "CPU ms=<n>" (the child's CPU time) last

    std::string commandLine() const;
    std::string render() const;
};

// The environment a launcher needs to run under Wine at all; tests add theirs.
std::vector<std::string> baseEnvironment();

ProcessResult runThroughRunner(const RunnerSpec& spec, const std::string& workDir,
                               std::chrono::milliseconds limit = kRunLimit);
std::unique_ptr<Subprocess> startThroughRunner(const RunnerSpec& spec, const std::string& workDir);

// The message boxes that the runner reported ("BOX caption=... text=...",
// each followed by its owner window's line).
struct Box {
    std::string caption;
    std::string text;
    bool owned = false;         // the box has an owner window, and it exists
    std::string ownerClass;     // its window class
    bool ownerVisible = false;  // whether it was visible when the box was found
    std::string ownerTitle;
    bool upAfterHold = true;     // still up (and owned) after box-hold-ms
    bool ownedAfterHold = true;  // (the runner's HELD line; true without one)
};
std::vector<Box> reportedBoxes(const std::string& runnerOutput);

// A variable of the session's environment file (DISPLAY, WINEPREFIX, ...).
std::string sessionVariable(const std::string& name);

}  // namespace vexal::testing
