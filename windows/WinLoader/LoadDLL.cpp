#include "windows/WinLoader/LoadDLL.h"

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"
#include "windows/WinLoader/JavaCheck.h"
#include "windows/WinLoader/JreConfigFile.h"
#include "windows/WinLoader/JvmLibrary.h"
#include "windows/WinLoader/JvmRegistry.h"
#include "windows/WinLoader/JvmSearch.h"

namespace vexal {

namespace {

// The search's location tests bound to the real checks with the configured
// version bounds.
class LauncherLocationTests : public JvmLocationTests {
public:
    LauncherLocationTests(std::string minimum, std::string maximum)
        : minimum_(std::move(minimum)), maximum_(std::move(maximum)) {}

    void debug(const std::string& line) override { logDebug("%s", line.c_str()); }
    bool readJreConfigFile(std::string& line, const char* suffix) override {
        return vexal::readJreConfigFile(line, suffix);
    }
    bool checkJavaHome(std::string& javaExecutable, const std::string& directory, bool skipVersionCheck) override {
        return vexal::checkJavaHome(javaExecutable, directory, minimum_, maximum_, skipVersionCheck);
    }
    bool checkJavaEnvVar(std::string& javaExecutable, const std::string& variable) override {
        return vexal::checkJavaEnvVar(javaExecutable, variable, minimum_, maximum_);
    }
    bool checkJavaOnPath(std::string& javaExecutable) override {
        return vexal::checkJavaOnPath(javaExecutable, minimum_, maximum_);
    }
    bool checkJavaRegistry(std::string& javaExecutable) override {
        return vexal::checkJavaRegistry(javaExecutable, minimum_, maximum_);
    }
    bool pathExists(const std::string& path) override { return vexal::pathExists(path); }

private:
    std::string minimum_;
    std::string maximum_;
};

}  // namespace

JvmOrigin searchJvm(std::string& javaExecutable, std::string& detail) {
    JvmSearchSettings settings;
    settings.sequence = configString(id::SearchSequence);
    settings.launcherKind = launcherKind();
    LauncherLocationTests tests(configString(id::MinVersion), configString(id::MaxVersion));
    return runJvmSearch(settings, tests, javaExecutable, detail);
}

bool LoadDLL() {
    logDebug("LoadDLL (%d, %s, %d)", 1, "(null)", 0);
    JvmLocation location;
    location.origin = searchJvm(location.javaExecutable, location.detail);
    if (location.origin == JvmOrigin::None) {
        logError("No JVM found");
        showConfigMessage(msg::NoJvm, nullptr, "");
        return false;
    }

    logDebug("Trying to load JVM-DLL from %s", location.javaExecutable.c_str());
    const LibraryRef library = loadJvmLibrary(location.javaExecutable);
    if (library == nullptr) logError("Could not get DLL-Handle.");
    const bool bound = bindCreateJavaVm(library);
    if (!bound) logError("Could not load functions");
    if (library != nullptr && bound) {
        logDebug("Loading of JVM-DLL successful");
        return true;
    }

    const JvmFailureMessage message = jvmFailureMessage(location.origin, location.detail);
    showConfigMessage(message.id, message.placeholder, message.value);
    return false;
}

}  // namespace vexal
