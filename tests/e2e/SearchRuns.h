#pragma once
// Launcher runs for the JVM search tests: one start through the runner with
// the diagnostic log on, in a temporary directory of its own, and the
// runtimes those tests lay out from the stand-in fixtures.
#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "tests/e2e/Launchers.h"
#include "tests/support/Subprocess.h"
#include "tests/support/WineHarness.h"

namespace vexal::testing {

using Lines = std::vector<std::string>;

constexpr int kExitNoJvm = 83;

// A file built beside the runner (the test fixtures).
std::string fixture(const std::string& relative);

void writeText(const std::filesystem::path& path, const std::string& text);
void copyInto(const std::string& from, const std::filesystem::path& to);
std::string lower(std::string text);
int count(const std::string& text, const std::string& part);

// A runtime folder: bin\java.exe (an empty file, enough for the bundle pass),
// optionally the stand-in jvm.dll in a variant folder with its companion
// library in bin.
void makeRuntime(const std::filesystem::path& home, const char* variant = nullptr,
                 const char* library = "jvm-standin/jvm.dll");

// The stand-in JVM library (or another one of the fixtures) in bin\<variant>
// of a home whose bin folder exists, with its companion library in bin.
void addJvmLibrary(const std::filesystem::path& bin, const char* variant = "client",
                   const char* library = "jvm-standin/jvm.dll");

struct SearchRun {
    ProcessResult result;
    Lines log;  // the log without its header
};

// One start of the launcher made of store, through the runner with exactly
// the base environment, TMP in the launcher's directory, VEXAL_LOG=yes and
// the extra entries (one of the same name replaces a base entry); message boxes are watched when asked for.
SearchRun runSearch(const Launcher& launcher, const ConfigStore& store, const std::vector<std::string>& environment,
                    bool watchBoxes = false);

// The lines of the search itself, without those of the individual tests and
// without those of the launch that follows it.
Lines searchLines(const Lines& log);

bool contains(const Lines& lines, const std::string& line);

}  // namespace vexal::testing
