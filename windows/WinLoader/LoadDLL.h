#pragma once
#include <string>

namespace vexal {

// Where the winning JVM location came from; it selects the error message when
// the JVM library then fails to load.
enum class JvmOrigin { None = 0, SearchPath = 1, Directory = 2, EnvironmentVariable = 3, Registry = 4 };

struct JvmLocation {
    std::string javaExecutable;
    JvmOrigin origin = JvmOrigin::None;
    std::string detail;
};

// Searches a Java runtime and loads its JVM library. False after the message
// that names the cause has been shown.
bool LoadDLL();

// The search sequence; JvmOrigin::None when nothing passes.
JvmOrigin searchJvm(std::string& javaExecutable, std::string& detail);

}  // namespace vexal
