#pragma once
#include <cstdint>
#include <string>

#include "windows/WinLoader/LoadDLL.h"

namespace vexal {

// The location tests and services that the search walks through. The
// launcher binds them to the real checks; tests walk the sequence with fakes.
class JvmLocationTests {
public:
    virtual ~JvmLocationTests() = default;
    virtual void debug(const std::string& line) = 0;
    virtual bool readJreConfigFile(std::string& line, const char* suffix) = 0;
    virtual bool checkJavaHome(std::string& javaExecutable, const std::string& directory,
                               bool skipVersionCheck) = 0;
    virtual bool checkJavaEnvVar(std::string& javaExecutable, const std::string& variable) = 0;
    virtual bool checkJavaOnPath(std::string& javaExecutable) = 0;
    virtual bool checkJavaRegistry(std::string& javaExecutable) = 0;
    virtual bool pathExists(const std::string& path) = 0;
};

// What the search reads from the configuration.
struct JvmSearchSettings {
    std::string sequence;  // entry 128
    char launcherKind = 0;  // first character of entry 2001
};

constexpr const char* kPreferredLocationFile = "\\.korvalith\\pref_jre.cfg";
constexpr const char* kInstallerLocationFile = "\\.korvalith\\inst_jre.cfg";

// The search: preferred location file, the sequence, the product variable,
// the installer location file, then the bundle locations without a version
// test. JvmOrigin::None when nothing passes.
JvmOrigin runJvmSearch(const JvmSearchSettings& settings, JvmLocationTests& tests, std::string& javaExecutable,
                       std::string& detail);

// The product's own Java home variable for a launcher kind; null for a kind
// that has none.
const char* productJavaHomeVariable(char launcherKind);

// The message shown when the winning location's JVM library cannot be used.
struct JvmFailureMessage {
    std::int32_t id = 0;
    const char* placeholder = nullptr;  // null: nothing replaced
    std::string value;
};
JvmFailureMessage jvmFailureMessage(JvmOrigin origin, const std::string& detail);

}  // namespace vexal
