// Where error texts go: entry 107 (executable type) chooses between a
// message box captioned with entry 1000 and standard error, and the internal
// switch as the first argument sends errors to standard error before the
// block is read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <ostream>
#include <string>

#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"

namespace vexal::testing {
namespace {

constexpr int kExitNoJvm = 83;

RunnerSpec watchedRun(const Launcher& launcher, const std::string& arguments = "") {
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.arguments = arguments;
    spec.environment = baseEnvironment();
    spec.watchBoxes = true;
    return spec;
}

struct RoutingCase {
    const char* name;
    const char* executableType;  // "" for no entry 107
    const char* arguments;
    bool inBox;
};

const RoutingCase kRoutingCases[] = {
    {"Console2", "2", "", false},
    {"Gui1", "1", "", true},
    {"Gui5", "5", "", true},
    {"Missing", "", "", false},
    {"Other3", "3", "", false},
    {"LeadingBlankStill1", " 1", "", true},
    // Nothing switches message boxes on again once the switch turned them off.
    {"Gui1WithSwitch", "1", "-q_kvl_internal", false},
};

void PrintTo(const RoutingCase& c, std::ostream* os) { *os << c.name; }

class ExecutableTypeTest : public ::testing::TestWithParam<RoutingCase> {};

TEST_P(ExecutableTypeTest, RoutesTheNoJvmMessage) {
    ConfigStore store = typicalMessages(GetParam().executableType);
    store.setNarrow(msg::Caption, "Routing Caption");
    const std::string message = store.narrow(msg::NoJvm);
    const Launcher launcher = makeLauncher(StubKind::Gui, store);

    const ProcessResult run = runThroughRunner(watchedRun(launcher, GetParam().arguments), launcher.dir);

    EXPECT_EQ(run.exitCode, kExitNoJvm);
    const auto boxes = reportedBoxes(run.out);
    if (GetParam().inBox) {
        ASSERT_EQ(boxes.size(), 1u) << run.out;
        EXPECT_EQ(boxes[0].caption, "Routing Caption");
        EXPECT_EQ(boxes[0].text, message);
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_TRUE(boxes.empty()) << run.out;
        EXPECT_EQ(run.err, textMode(message + "\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExecutableTypeTest, ::testing::ValuesIn(kRoutingCases),
                         [](const ::testing::TestParamInfo<RoutingCase>& info) { return info.param.name; });

struct SwitchCase {
    const char* name;
    const char* commandLine;  // "%s" stands for the program path
    bool toStandardError;
};

const SwitchCase kSwitchCases[] = {
    {"Exact", "\"%s\" -q_kvl_internal", true},
    {"PrefixWithMore", "\"%s\" -q_kvl_internalXYZ", true},
    {"FollowedByArguments", "\"%s\" -q_kvl_internal more args", true},
    {"AfterBlanksAndTabs", "\"%s\" \t  -q_kvl_internal", true},
    {"RightAfterQuotedProgram", "\"%s\"-q_kvl_internal", true},
    {"BlanksBeforeProgram", "  \"%s\" -q_kvl_internal", true},
    {"UnquotedProgram", "%s -q_kvl_internal", true},
    {"UpperCase", "\"%s\" -Q_KVL_INTERNAL", false},
    {"SecondArgument", "\"%s\" first -q_kvl_internal", false},
    {"Shortened", "\"%s\" -q_kvl_interna", false},
    {"Quoted", "\"%s\" \"-q_kvl_internal\"", false},
    {"None", "\"%s\"", false},
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

class InternalSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

// An executable without a block fails before the block could switch the
// output: only the internal switch decides.
TEST_P(InternalSwitchTest, DecidesWhereEarlyErrorsGo) {
    const Launcher launcher = makeLauncher(StubKind::Gui, std::string());

    RunnerSpec spec = watchedRun(launcher);
    spec.exactCommandLine = GetParam().commandLine;
    spec.exactCommandLine.replace(spec.exactCommandLine.find("%s"), 2, windowsPath(launcher.exe));

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 1);
    const auto boxes = reportedBoxes(run.out);
    if (GetParam().toStandardError) {
        EXPECT_TRUE(boxes.empty()) << run.out;
        EXPECT_EQ(run.err, textMode("Internal Error: readInt\n"));
    } else {
        ASSERT_EQ(boxes.size(), 1u) << run.out;
        EXPECT_EQ(boxes[0].caption, "");
        EXPECT_EQ(boxes[0].text, "Internal Error: readInt");
        EXPECT_EQ(run.err, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InternalSwitchTest, ::testing::ValuesIn(kSwitchCases),
                         [](const ::testing::TestParamInfo<SwitchCase>& info) { return info.param.name; });

// The runner reads boxes through the window manager's view of the process;
// this looks at the X display itself: while the box is up, a window with the
// caption of entry 1000 exists there.
TEST(MessageBoxOnDisplay, WindowWithConfiguredCaptionExists) {
    const std::string caption = "Vexal display probe " + std::to_string(::getpid());
    ConfigStore store = typicalMessages("1");
    store.setNarrow(msg::Caption, caption);
    const Launcher launcher = makeLauncher(StubKind::Gui, store);
    RunnerSpec spec = watchedRun(launcher);
    spec.boxHoldMs = 1500;

    auto runner = startThroughRunner(spec, launcher.dir);
    ASSERT_TRUE(runner->waitForOutput(
        [](const std::string& out) { return out.find("BOX ") != std::string::npos; }, kRunLimit))
        << "no message box appeared";
    const ProcessResult search = runProcess({"xdotool", "search", "--name", "^" + caption + "$"},
                                            {{"DISPLAY", sessionVariable("DISPLAY")}}, {}, kRunLimit);
    const ProcessResult run = runner->finish(kRunLimit);

    EXPECT_EQ(search.exitCode, 0) << search.err;
    EXPECT_NE(search.out, "");
    EXPECT_EQ(run.exitCode, kExitNoJvm);
}

}  // namespace
}  // namespace vexal::testing

namespace vexal::testing {
namespace {

// A message that the block does not hold shows as an empty text under the
// configured caption; a missing caption leaves the caption empty.
TEST(MissingMessage, EmptyTextUnderTheCaption) {
    ConfigStore store;
    store.setNarrow(msg::Caption, "Only A Caption");
    store.setNarrow(id::ExecutableType, "1");
    const Launcher launcher = makeLauncher(StubKind::Gui, store);
    RunnerSpec spec;
    spec.app = launcher.exe;
    spec.environment = baseEnvironment();
    spec.watchBoxes = true;

    const ProcessResult run = runThroughRunner(spec, launcher.dir);

    EXPECT_EQ(run.exitCode, 83);
    const auto boxes = reportedBoxes(run.out);
    ASSERT_EQ(boxes.size(), 1u) << run.out;
    EXPECT_EQ(boxes[0].caption, "Only A Caption");
    EXPECT_EQ(boxes[0].text, "");
}

}  // namespace
}  // namespace vexal::testing
