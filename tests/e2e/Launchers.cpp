#include "tests/e2e/Launchers.h"

#include <gtest/gtest.h>

#include "config/ConfigBlock.h"

namespace vexal::testing {

std::string testWorkDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    return freshWorkDir(name);
}

Launcher makeLauncher(StubKind kind, const std::string& tail) {
    Launcher launcher{testWorkDir(), ""};
    launcher.exe = launcher.dir + "/app.exe";
    ExeBuilder(stubPath(kind)).raw(tail).write(launcher.exe);
    return launcher;
}

Launcher makeLauncher(StubKind kind, const ConfigStore& store) { return makeLauncher(kind, writeConfigBlock(store)); }

}  // namespace vexal::testing
