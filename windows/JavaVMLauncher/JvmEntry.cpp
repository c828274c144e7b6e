#include "windows/JavaVMLauncher/JvmEntry.h"

namespace vexal {

namespace {
void* gCreateJavaVm = nullptr;

std::string& libraryPath() {
    static std::string path;
    return path;
}
}  // namespace

void setJvmEntryPoint(void* createJavaVm) { gCreateJavaVm = createJavaVm; }
void* jvmEntryPoint() { return gCreateJavaVm; }

void setJvmLibraryPath(const std::string& path) { libraryPath() = path; }
const std::string& jvmLibraryPath() { return libraryPath(); }

}  // namespace vexal
