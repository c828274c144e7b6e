#include "windows/WinLoader/JvmSearch.h"

#include <vector>

#include "common/Format.h"
#include "config/ConfigIds.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

namespace {

// A location file that names a Java home which passes its test.
bool locationFilePasses(JvmLocationTests& tests, const char* suffix, const char* hasLine, const char* usingLine,
                        std::string& javaExecutable, std::string& detail) {
    std::string line;
    if (!tests.readJreConfigFile(line, suffix)) return false;
    tests.debug(format(hasLine, line.c_str()));
    if (!tests.checkJavaHome(javaExecutable, line, false)) return false;
    tests.debug(usingLine);
    detail = line;
    return true;
}

// The test of one location of the main pass; None for a failure or a
// letter without a test.
JvmOrigin testLocation(JvmLocationTests& tests, const SearchLocation& location, std::string& javaExecutable,
                       std::string& detail) {
    switch (location.letter) {
        case 'A':
        case 'B':
        case 'R':
            if (!tests.checkJavaHome(javaExecutable, location.argument, false)) return JvmOrigin::None;
            detail = location.argument;
            return JvmOrigin::Directory;
        case 'E':
            if (!tests.checkJavaEnvVar(javaExecutable, location.argument)) return JvmOrigin::None;
            detail = location.argument;
            return JvmOrigin::EnvironmentVariable;
        case 'S':
            if (!tests.checkJavaOnPath(javaExecutable)) return JvmOrigin::None;
            detail = location.argument;
            return JvmOrigin::SearchPath;
        case 'Y':
            if (!tests.checkJavaRegistry(javaExecutable)) return JvmOrigin::None;
            detail.clear();
            return JvmOrigin::Registry;
        default:
            return JvmOrigin::None;
    }
}

}  // namespace

const char* productJavaHomeVariable(char launcherKind) {
    switch (launcherKind) {
        case 'v':
            return "VEXAL_JAVA_HOME";
        case 'k':
            return "KORVALITH_JAVA_HOME";
        default:
            return nullptr;
    }
}

JvmOrigin runJvmSearch(const JvmSearchSettings& settings, JvmLocationTests& tests, std::string& javaExecutable,
                       std::string& detail) {
    tests.debug("Searching for a JVM");
    const std::vector<SearchLocation> locations = parseSearchSequence(settings.sequence);

    if (locationFilePasses(tests, kPreferredLocationFile, "Has preferred location %s", "Using preferred location",
                           javaExecutable, detail))
        return JvmOrigin::Directory;

    for (const SearchLocation& location : locations) {
        tests.debug(format("Testing location %s (type %c)", location.argument.c_str(), location.letter));
        const JvmOrigin origin = testLocation(tests, location, javaExecutable, detail);
        if (origin != JvmOrigin::None) return origin;
    }
    tests.debug("Search sequence finished");

    if (const char* variable = productJavaHomeVariable(settings.launcherKind)) {
        if (tests.checkJavaEnvVar(javaExecutable, variable)) {
            detail = variable;
            return JvmOrigin::EnvironmentVariable;
        }
    }

    if (locationFilePasses(tests, kInstallerLocationFile, "Has installer location %s", "Using installer location",
                           javaExecutable, detail))
        return JvmOrigin::Directory;

    for (const SearchLocation& location : locations) {
        if (location.letter != 'B') continue;
        tests.debug(format("Testing bundle location %s", location.argument.c_str()));
        // Without a version test: the runtime delivered with the application
        // is taken when its Java executable is there at all, unless the test
        // refuses it (a runtime the launcher cannot load).
        if (tests.checkJavaHome(javaExecutable, location.argument, true) && tests.pathExists(javaExecutable)) {
            tests.debug(format("%s exists", javaExecutable.c_str()));
            detail = location.argument;
            return JvmOrigin::Directory;
        }
    }
    return JvmOrigin::None;
}

JvmFailureMessage jvmFailureMessage(JvmOrigin origin, const std::string& detail) {
    JvmFailureMessage message;
    switch (origin) {
        case JvmOrigin::SearchPath:
            message.id = msg::PathJvmDamaged;
            break;
        case JvmOrigin::EnvironmentVariable:
            message.id = msg::EnvJvmBroken;
            message.placeholder = placeholder::EnvVarName;
            message.value = detail;
            break;
        case JvmOrigin::Directory:
            message.id = msg::DirJvmDamaged;
            message.placeholder = placeholder::DefinedPath;
            message.value = detail;
            break;
        case JvmOrigin::Registry:
            message.id = msg::JvmNotStarted;
            break;
        case JvmOrigin::None:
            message.id = msg::NoJvm;
            break;
    }
    return message;
}

}  // namespace vexal
