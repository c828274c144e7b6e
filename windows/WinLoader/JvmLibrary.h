#pragma once
#include <string>

namespace vexal {

// An opaque loaded-library handle.
using LibraryRef = void*;

// The JVM library beside an accepted Java executable: its variant folders,
// then those of the "..\jre\bin\java.exe" alternative.
LibraryRef loadJvmLibrary(const std::string& javaExecutable);
LibraryRef findJvmInBin(const std::string& javaExecutable);
LibraryRef tryJvmVariant(const std::string& javaExecutable, const std::string& variant);

// Looks up "JNI_CreateJavaVM" and hands it on through setJvmEntryPoint.
bool bindCreateJavaVm(LibraryRef library);

}  // namespace vexal
