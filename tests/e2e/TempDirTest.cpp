// The end of the temporary directory choice: with a temporary path outside
// the ANSI code page and no writable fall-back, the fixed Poweruser message
// box, exit code 1, and the pending deletions registered first.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/e2e/Launchers.h"

namespace vexal::testing {
namespace {

std::string filesProbe() {
    return std::filesystem::path(harness().runner).parent_path().string() + "/files-probe.exe";
}

TEST(TempDirChoice, NoWritableDirectoryEndsWithThePoweruserMessage) {
    const std::string dir = testWorkDir();
    // Without a trailing backslash: it would escape the closing quote.
    const std::string key = "SOFTWARE\\tarnwellsoft\\vexal-tests\\poweruser-" + std::to_string(getpid());
    const std::string remembered = "c:\\vxl-tests\\vxl1.tmp_dir2\\app.jar";

    RunnerSpec spec;
    spec.app = filesProbe();
    spec.arguments = "no-temp-dir \"" + windowsPath(dir) + "\" \"" + key + "\" " + remembered;
    spec.environment = baseEnvironment();
    spec.watchBoxes = true;
    const ProcessResult run = runThroughRunner(spec, dir);

    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    const auto boxes = reportedBoxes(run.out);
    ASSERT_EQ(boxes.size(), 1u) << run.out;
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "I am sorry, but you must be at least Poweruser to run this program.\n");
    EXPECT_EQ(run.out.find("chose"), std::string::npos) << run.out;

    // Every probe was removed again; nothing was made where nothing existed.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        EXPECT_NE(entry.path().filename(), "vxl_w_testdir") << entry.path();
    EXPECT_FALSE(std::filesystem::exists(dir + "/no-root"));

    const ProcessResult listed = wineRun({filesProbe(), "list", key, "delete_file"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out, textMode(remembered + ";\n"));
}

}  // namespace
}  // namespace vexal::testing
