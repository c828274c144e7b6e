// The launcher's own path, its PATH prefix and its working directory, as the
// diagnostic log reports them: a launcher in a folder whose name has blanks
// reads its block through the short form of its path, and the working
// directory and PATH entries relative to it use that form, in lower case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;

std::string lowerCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

struct LoggedRun {
    ProcessResult result;
    std::vector<std::string> log;  // lines of the one log file
};

// The launcher moved into dir (made first), run with logging on.
LoggedRun runLogged(const Launcher& made, const std::string& dir, const std::string& path = "") {
    fs::create_directories(dir);
    const std::string exe = dir + "/App Launcher.exe";
    fs::rename(made.exe, exe);
    const std::string tmp = made.dir + "/tmp";
    fs::create_directories(tmp);
    RunnerSpec spec;
    spec.app = exe;
    spec.environment = baseEnvironment();
    if (!path.empty()) {
        spec.environment.erase(std::remove_if(spec.environment.begin(), spec.environment.end(),
                                              [](const std::string& e) { return e.rfind("PATH=", 0) == 0; }),
                               spec.environment.end());
        spec.environment.push_back("PATH=" + path);
    }
    spec.environment.push_back("TMP=" + windowsPath(tmp));
    spec.environment.push_back("VEXAL_LOG=yes");
    LoggedRun run;
    run.result = runThroughRunner(spec, made.dir);
    for (const auto& entry : fs::directory_iterator(tmp)) {
        const std::string text = readBinaryFile(entry.path().string());
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            run.log.push_back(text.substr(start, end - start));
    }
    return run;
}

// The value of the first log line that begins with prefix ("" when none).
std::string logged(const LoggedRun& run, const std::string& prefix) {
    for (const std::string& line : run.log) {
        if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
    }
    return "";
}

std::size_t components(const std::string& windows) { return std::count(windows.begin(), windows.end(), '\\'); }

const std::string kNoJvmText = typicalMessages().narrow(msg::NoJvm);

// Entry 146 "." names the launcher's own directory: that of its short path.
TEST(OwnExePath, FolderWithBlanksGivesTheShortLowerCaseDirectory) {
    ConfigStore store = typicalMessages();
    store.setNarrow(id::WorkingDirectory, ".");
    store.setNarrow(id::PathPrefix, "lib;C:\\Tools");
    const Launcher made = makeLauncher(StubKind::Gui, store);
    const std::string folder = made.dir + "/My App Folder";
    const LoggedRun run = runLogged(made, folder, "C:\\windows");

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    EXPECT_EQ(run.result.err.rfind(textMode(kNoJvmText + "\n\nLog: "), 0), 0u) << run.result.err;
    const std::string dir = logged(run, "Working directory: ");
    ASSERT_FALSE(dir.empty()) << run.result.err;
    EXPECT_EQ(dir, lowerCase(dir));
    EXPECT_EQ(dir.find(' '), std::string::npos) << dir;
    EXPECT_EQ(dir.rfind("z:\\", 0), 0u) << dir;
    EXPECT_EQ(components(dir), components(windowsPath(folder))) << dir;
    EXPECT_NE(dir.substr(dir.rfind('\\')).find('~'), std::string::npos) << dir;

    EXPECT_EQ(logged(run, "PATH: "), dir + "\\lib;C:\\Tools;C:\\windows");
}

TEST(WorkingDirectory, AbsoluteEntryInLowerCase) {
    const Launcher made = makeLauncher(StubKind::Console, typicalMessages());
    const std::string target = made.dir + "/Work Dir";
    fs::create_directories(target);
    ConfigStore store = typicalMessages();
    store.setNarrow(id::WorkingDirectory, windowsPath(target) + "\\\\.\\");
    ExeBuilder(stubPath(StubKind::Console)).block(store).write(made.exe);
    const LoggedRun run = runLogged(made, made.dir + "/bin");

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    EXPECT_EQ(logged(run, "Working directory: "), lowerCase(windowsPath(target)) + "\\");
}

TEST(WorkingDirectory, MissingDirectoryIsIgnored) {
    ConfigStore store = typicalMessages();
    store.setNarrow(id::WorkingDirectory, "Not There");
    const Launcher made = makeLauncher(StubKind::Console, store);
    const LoggedRun run = runLogged(made, made.dir + "/bin");

    EXPECT_EQ(run.result.exitCode, kExitNoJvm);
    EXPECT_EQ(logged(run, "Working directory: "), "");
    const std::string refused = logged(run, "ERROR: Could not change to the working directory ");
    const std::string tail = "\\not there";
    ASSERT_GE(refused.size(), tail.size()) << refused;
    EXPECT_EQ(refused.substr(refused.size() - tail.size()), tail);
    EXPECT_NE(std::find(run.log.begin(), run.log.end(), "ERROR: No JVM found"), run.log.end());
}

}  // namespace
}  // namespace vexal::testing
