// The diagnostic log: switched on by VEXAL_LOG or KORVALITH_LOG being exactly
// "yes", written to a new kvl_nlog_* file in TMP, and named in every error
// message. The launchers run through the runner so that TMP and the switches
// are exactly what the test sets.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <ostream>
#include <string>
#include <vector>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"
#include "tests/support/ExeBuilder.h"

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;

std::vector<std::string> logFilesIn(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("kvl_nlog_", 0) == 0) files.push_back(entry.path().string());
    }
    return files;
}

struct LogRun {
    Launcher launcher;
    std::string tmp;  // Unix path of the TMP directory
    ProcessResult result;
};

LogRun runWithEnvironment(const std::vector<std::string>& switches, const std::string& executableType = "2") {
    LogRun run{makeLauncher(StubKind::Gui, typicalMessages(executableType)), "", {}};
    run.tmp = run.launcher.dir + "/tmp";
    fs::create_directories(run.tmp);
    RunnerSpec spec;
    spec.app = run.launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(run.tmp));
    spec.environment.insert(spec.environment.end(), switches.begin(), switches.end());
    spec.watchBoxes = true;
    run.result = runThroughRunner(spec, run.launcher.dir);
    return run;
}

const std::string kNoJvmText = typicalMessages().narrow(msg::NoJvm);

struct SwitchCase {
    const char* name;
    std::vector<std::string> environment;
    bool logs;
};

const SwitchCase kSwitchCases[] = {
    {"VexalLogYes", {"VEXAL_LOG=yes"}, true},
    {"KorvalithLogYesAlone", {"KORVALITH_LOG=yes"}, true},
    {"OneOfTwoYes", {"VEXAL_LOG=no", "KORVALITH_LOG=yes"}, true},
    {"UpperCase", {"VEXAL_LOG=YES"}, false},
    {"TrailingBlank", {"VEXAL_LOG=yes "}, false},
    {"LeadingBlank", {"KORVALITH_LOG= yes"}, false},
    {"Empty", {"VEXAL_LOG="}, false},
    {"Unset", {}, false},
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

class LogSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(LogSwitchTest, LogsOnlyForExactlyYes) {
    const LogRun run = runWithEnvironment(GetParam().environment);
    const auto files = logFilesIn(run.tmp);

    EXPECT_EQ(run.result.exitCode, kExitNoJvm) << run.result.err;
    if (!GetParam().logs) {
        EXPECT_TRUE(files.empty());
        EXPECT_EQ(run.result.err, textMode(kNoJvmText + "\n"));
        return;
    }
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> lines = crlfLines(readBinaryFile(files[0]));
    ASSERT_GE(lines.size(), 4u);
    const std::regex header("Started executable " + std::regex_replace(windowsPath(run.launcher.exe),
                                                                       std::regex(R"([\\.])"), R"(\$&)") +
                            " at [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}");
    EXPECT_TRUE(std::regex_match(lines[0], header)) << lines[0];
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "extracting files");
    EXPECT_EQ(lines[3], "Included files: 0");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "LoadDLL (1, (null), 0)"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ERROR: No JVM found"), lines.end());
    EXPECT_EQ(run.result.err, textMode(kNoJvmText + "\n\nLog: " + windowsPath(files[0]) + "\n"));
}

INSTANTIATE_TEST_SUITE_P(Cases, LogSwitchTest, ::testing::ValuesIn(kSwitchCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& info) { return info.param.name; });

TEST(LogFile, EachRunWritesItsOwnFile) {
    LogRun first = runWithEnvironment({"VEXAL_LOG=yes"});
    RunnerSpec spec;
    spec.app = first.launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(first.tmp));
    spec.environment.push_back("VEXAL_LOG=yes");
    const ProcessResult second = runThroughRunner(spec, first.launcher.dir);

    EXPECT_EQ(second.exitCode, kExitNoJvm);
    const auto files = logFilesIn(first.tmp);
    ASSERT_EQ(files.size(), 2u);
    for (const auto& file : files) {
        EXPECT_EQ(readBinaryFile(file).rfind("Started executable ", 0), 0u) << file;
    }
}

TEST(LogFile, MessageBoxNamesTheLog) {
    const LogRun run = runWithEnvironment({"VEXAL_LOG=yes"}, "1");
    const auto files = logFilesIn(run.tmp);
    ASSERT_EQ(files.size(), 1u);
    const auto boxes = reportedBoxes(run.result.out);
    ASSERT_EQ(boxes.size(), 1u) << run.result.out;
    EXPECT_EQ(boxes[0].text, kNoJvmText + "\n\nLog: " + windowsPath(files[0]));
}

// TMP that names no directory: the log goes to the root of drive C.
TEST(LogFile, MissingTmpDirectoryFallsBackToDriveC) {
    const Launcher launcher = makeLauncher(StubKind::Gui, typicalMessages());
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(launcher.dir + "/missing"));
    spec.environment.push_back("VEXAL_LOG=yes");

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    std::smatch named;
    ASSERT_TRUE(std::regex_search(run.err, named, std::regex(R"(Log: [cC]:\\(kvl_nlog_[^\r\n\\]+)\r\n$)"))) << run.err;
    const fs::path file = fs::path(sessionVariable("WINEPREFIX")) / "drive_c" / named[1].str();
    EXPECT_TRUE(fs::exists(file)) << file;
    fs::remove(file);
}

}  // namespace
}  // namespace vexal::testing

namespace vexal::testing {
namespace {

// The log opens at its first line; a block error comes before any, so even
// with logging on there is no file and no note.
TEST(LogFile, ErrorBeforeTheFirstLineHasNoLog) {
    const Launcher launcher = makeLauncher(StubKind::Gui, std::string("not a block"));
    const std::string tmp = launcher.dir + "/tmp";
    fs::create_directories(tmp);
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.arguments = "-q_kvl_internal";
    spec.environment = baseEnvironment();
    spec.environment.push_back("TMP=" + windowsPath(tmp));
    spec.environment.push_back("VEXAL_LOG=yes");

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, textMode("Internal Error: magic\n"));
    EXPECT_TRUE(logFilesIn(tmp).empty());
}

}  // namespace
}  // namespace vexal::testing
