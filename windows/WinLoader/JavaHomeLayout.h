#pragma once
#include <string>

#include "common/PathStyle.h"

namespace vexal {

// The Java launcher's file name: "java.exe" on Windows, "java" on Linux.
std::string javaExecutableFileName(const PathStyle& style);

// The Java executable of a home: the JDK layout home\jre\bin\java.exe, else
// home\bin\java.exe (home/jre/bin/java, home/bin/java on Linux).
std::string jdkJavaExecutable(const std::string& home, const PathStyle& style);
std::string homeJavaExecutable(const std::string& home, const PathStyle& style);

// The executable that runs a GUI application (entry 107 = 1): on Windows the
// final ".exe" becomes "w.exe" (javaw.exe); Linux has one Java executable
// for both kinds and keeps it.
std::string guiJavaExecutable(const std::string& javaExecutable, const PathStyle& style);

}  // namespace vexal
