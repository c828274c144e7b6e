// A standard-library failure in a stub (built without exceptions) ends the
// process as an uncaught exception did: a line on standard error naming the
// failure, then abort(), exit code 3. Shown with a probe built like the stubs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/WineHarness.h"

namespace vexal::testing {
namespace {

constexpr int kAbortExit = 3;

std::string probe() {
    return (std::filesystem::path(harness().stubsX64).parent_path() / "probes" / "runtime-failure-probe.exe")
        .string();
}

TEST(RuntimeFailure, EachFailureEndsTheProcessWithItsReason) {
    struct Row {
        const char* failure;
        const char* reason;
    } rows[] = {
        {"length", "terminate called: basic_string::_M_create"},
        {"alloc", "terminate called: std::bad_alloc"},
        {"range", "terminate called: basic_string::at"},
        {"function", "terminate called: std::bad_function_call"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failure);
        const ProcessResult r = wineRun({probe(), row.failure});
        EXPECT_EQ(r.exitCode, kAbortExit);
        EXPECT_NE(r.err.find(row.reason), std::string::npos) << r.err;
    }
}

// The launcher installs its out-of-memory handler first thing: exhausted
// memory then ends it with "out of memory" and exit code 1, not an abort.
TEST(RuntimeFailure, ExhaustedMemoryGoesThroughTheLaunchersHandler) {
    const ProcessResult r = wineRun({probe(), "oom"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("out of memory"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("terminate called"), std::string::npos) << r.err;
}

TEST(RuntimeFailure, AllocationWithoutFailureWorks) {
    const ProcessResult r = wineRun({probe(), "fine"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("terminate called"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace vexal::testing
