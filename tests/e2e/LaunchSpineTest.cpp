// A launcher with a valid block passes configuration, included files, single
// instance, clean-up and splash, and stops at the JVM search: there is no JVM
// to find, so every run ends with message 1001 and exit code 83. The message
// is read from the block as it stands, whatever else the block holds.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "tests/e2e/Launchers.h"

namespace vexal::testing {
namespace {

constexpr int kExitNoJvm = 83;

std::string int32(std::int32_t value) {
    std::string out;
    appendInt32(out, value);
    return out;
}

std::string narrowEntry(std::int32_t id, const std::string& text) {
    return int32(id) + int32(static_cast<std::int32_t>(text.size())) + text;
}

const std::string kTypicalBlock = writeConfigBlock(typicalMessages());
const std::string kNoJvmText = typicalMessages().narrow(msg::NoJvm);

struct SpineCase {
    const char* name;
    std::string tail;
    std::string message;  // expected on standard error
};

const SpineCase kSpineCases[] = {
    {"TypicalMessages", kTypicalBlock, kNoJvmText},
    // Nothing configured: every lookup is empty, entry 107 reads 0, so the
    // (empty) message goes to standard error.
    {"EmptyBlock", int32(static_cast<std::int32_t>(kBlockMagic)) + int32(0) + int32(0), ""},
    {"RepeatedIdKeepsLast",
     int32(static_cast<std::int32_t>(kBlockMagic)) + int32(3) + narrowEntry(msg::NoJvm, "first") +
         narrowEntry(id::ExecutableType, "2") + narrowEntry(msg::NoJvm, "second") + int32(0),
     "second"},
    {"ZerosBehindBlock", kTypicalBlock + std::string(64, '\0'), kNoJvmText},
    {"WideEntriesBeside", [] {
         ConfigStore store = typicalMessages();
         store.setWide(msg::NoJvm, u"wide text of the same id");
         store.setWide(10, u"\u00e9t\u00e9");
         return writeConfigBlock(store);
     }(),
     kNoJvmText},
};

void PrintTo(const SpineCase& c, std::ostream* os) { *os << c.name; }

class LaunchSpineTest : public ::testing::TestWithParam<std::tuple<SpineCase, StubKind>> {};

TEST_P(LaunchSpineTest, EndsWithNoJvmMessageAndExitCode83) {
    const SpineCase& c = std::get<0>(GetParam());
    const Launcher launcher = makeLauncher(std::get<1>(GetParam()), c.tail);

    const ProcessResult run = wineRun({launcher.exe});

    EXPECT_EQ(run.exitCode, kExitNoJvm);
    // Written just before the immediate exit, yet complete on the pipe.
    EXPECT_EQ(run.err, textMode(c.message + "\n"));
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, LaunchSpineTest,
                         ::testing::Combine(::testing::ValuesIn(kSpineCases),
                                            ::testing::Values(StubKind::Gui, StubKind::Console)),
                         [](const ::testing::TestParamInfo<LaunchSpineTest::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    stubKindName(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace vexal::testing
