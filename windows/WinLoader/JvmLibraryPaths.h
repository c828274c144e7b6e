#pragma once
#include <string>
#include <vector>

namespace vexal {

// The variant folders under a runtime's bin folder that may hold jvm.dll,
// in the order they are tried after the preferred one (entry 152).
std::vector<std::string> jvmVariantOrder(const std::string& preferred);

// directory + variant + "\jvm.dll", joined directly (the directory keeps its
// trailing backslash).
std::string jvmVariantPath(const std::string& directory, const std::string& variant);

// The executable of a JDK's own runtime, beside the given executable's
// directory, left unnormalised: "c:\jdk\bin\..\jre\bin\java.exe".
std::string alternativeJavaExecutable(const std::string& javaExecutable);

}  // namespace vexal
