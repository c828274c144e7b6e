#pragma once

namespace vexal {

// The address of the loaded JVM library's "JNI_CreateJavaVM", kept until the
// JVM is created.
void setJvmEntryPoint(void* createJavaVm);
void* jvmEntryPoint();

}  // namespace vexal
