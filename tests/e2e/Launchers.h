#pragma once
#include <ostream>
#include <string>

#include "config/ConfigStore.h"
#include "tests/support/ExeBuilder.h"
#include "tests/support/WineHarness.h"

namespace vexal::testing {

inline void PrintTo(StubKind kind, std::ostream* os) { *os << stubKindName(kind); }

// A launcher executable written into the current test's fresh work
// directory.
struct Launcher {
    std::string dir;  // Unix path of the work directory
    std::string exe;  // Unix path of the executable
};

// The current test's work directory, named after the test (created afresh).
std::string testWorkDir();

// The stub of kind with tail appended behind its image.
Launcher makeLauncher(StubKind kind, const std::string& tail);
Launcher makeLauncher(StubKind kind, const ConfigStore& store);

}  // namespace vexal::testing
