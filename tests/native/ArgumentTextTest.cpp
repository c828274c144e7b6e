#include "launcher/ArgumentText.h"

#include <gtest/gtest.h>

namespace vexal {
namespace {

struct Case {
    const char* commandLine;
    const char* argumentText;
};

class ArgumentTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(ArgumentTextTest, SkipsProgramNameAndBlanks) {
    EXPECT_EQ(argumentTextOf(GetParam().commandLine), GetParam().argumentText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentTextTest,
    ::testing::Values(Case{"app.exe -q_kvl_internal x", "-q_kvl_internal x"},
                      Case{"\"C:\\My Apps\\app.exe\" -q_kvl_internal", "-q_kvl_internal"},
                      // Directly behind the closing quote: still the first argument.
                      Case{"\"C:\\app.exe\"-q_kvl_internal", "-q_kvl_internal"},
                      Case{" \t \"C:\\app.exe\" \t a b ", "a b "},
                      Case{"app.exe\t\targ", "arg"},
                      Case{"app.exe", ""},
                      Case{"\"C:\\app.exe\"", ""},
                      // An unclosed quote takes the rest as the program name.
                      Case{"\"C:\\app.exe -q_kvl_internal", ""},
                      Case{"", ""},
                      // Only blanks and tabs separate; other control characters do not.
                      Case{"app.exe\n-x", ""}));

}  // namespace
}  // namespace vexal
