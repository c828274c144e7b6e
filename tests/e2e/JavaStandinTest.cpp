// The stand-in Java runtime that the JVM search tests lay out as Java homes:
// it prints its configured banner on standard error, ends with its
// configured code and records every run beside itself.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/JavaHomes.h"
#include "tests/support/WineHarness.h"

namespace vexal::testing {
namespace {

TEST(JavaStandin, PrintsItsBannerEndsWithItsCodeAndRecordsTheRun) {
    struct Row {
        const char* name;
        StandinJava standin;
        int exitCode;
    } rows[] = {
        {"classic", standinVersion("1.5.0_06"), 0},
        {"openjdk", {"openjdk version \"17.0.15\" 2025-04-15", "0"}, 0},
        {"failing", {"Error: could not open jvm.cfg", "7"}, 7},
    };
    const std::string work = freshWorkDir("java-standin");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string home = work + "/" + row.name;
        const std::string exe = makeJavaHome(home, JavaLayout::Jdk, row.standin, true);
        EXPECT_EQ(exe, home + "/jre/bin/java.exe");
        const ProcessResult run = wineRun({windowsPath(exe), "-version"});
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.err.substr(0, run.err.find('\r')), row.standin.banner);
        const auto runs = standinRuns(home + "/jre/bin");
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_NE(runs[0].find("-version"), std::string::npos) << runs[0];
        EXPECT_TRUE(standinRuns(home + "/bin").empty());
    }
}

}  // namespace
}  // namespace vexal::testing
