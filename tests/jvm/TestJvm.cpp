#include "tests/jvm/TestJvm.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace vexal::testing {

const std::string& testLibjvm() {
    static const std::string path = [] {
        const char* chosen = std::getenv("VEXAL_TEST_LIBJVM");
        return std::string(chosen != nullptr && *chosen != '\0' ? chosen : VEXAL_LIBJVM);
    }();
    return path;
}

bool checkedJniCountsLocalRefs() {
    // The warning's format text is in the library exactly when the check is.
    static const bool counts = [] {
        std::ifstream in(testLibjvm(), std::ios::binary);
        const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return image.find("JNI local refs: %lu, exceeds capacity") != std::string::npos;
    }();
    return counts;
}

namespace {

// A JDK that this machine lacks skips the whole run, and says so.
class JvmPresent : public ::testing::Environment {
public:
    void SetUp() override {
        if (access(testLibjvm().c_str(), R_OK) != 0) GTEST_SKIP() << "no JVM library at " << testLibjvm();
    }
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new JvmPresent);

}  // namespace
}  // namespace vexal::testing
