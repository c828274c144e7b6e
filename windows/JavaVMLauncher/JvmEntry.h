#pragma once
#include <string>

namespace vexal {

// The address of the loaded JVM library's "JNI_CreateJavaVM", kept until the
// JVM is created.
void setJvmEntryPoint(void* createJavaVm);
void* jvmEntryPoint();

// The path of the JVM library that was loaded (its runtime's home is three
// folders up); empty before.
void setJvmLibraryPath(const std::string& path);
const std::string& jvmLibraryPath();

}  // namespace vexal
