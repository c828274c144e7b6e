#include "windows/JavaVMLauncher/JvmEntry.h"

namespace vexal {

namespace {
void* gCreateJavaVm = nullptr;
}

void setJvmEntryPoint(void* createJavaVm) { gCreateJavaVm = createJavaVm; }
void* jvmEntryPoint() { return gCreateJavaVm; }

}  // namespace vexal
