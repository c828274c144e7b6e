#pragma once
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// The variant folders that may hold the JVM library, in the order they are
// tried after the preferred one (entry 152).
std::vector<std::string> jvmVariantOrder(const std::string& preferred);

// Where one variant's JVM library may be, for the directory of a Java
// executable (trailing separator kept), in the order tried.
// Windows: directory + variant + "\jvm.dll", joined directly.
// Linux: the home above the bin folder, then lib/<variant>/libjvm.so and the
// Java 8 layout lib/amd64/<variant>/libjvm.so.
std::vector<std::string> jvmVariantPaths(const std::string& directory, const std::string& variant,
                                         const PathStyle& style);

// Every path that the loader tries for an accepted Java executable, in its
// order: the variant folders beside the executable, then those of the JDK
// alternative below.
std::vector<std::string> jvmLibraryCandidates(const std::string& javaExecutable, const std::string& preferred,
                                              const PathStyle& style);

// The executable of a JDK's own runtime, beside the given executable's
// directory, left unnormalised: "c:\jdk\bin\..\jre\bin\java.exe",
// "/jdk/bin/../jre/bin/java".
std::string alternativeJavaExecutable(const std::string& javaExecutable, const PathStyle& style);

}  // namespace vexal
