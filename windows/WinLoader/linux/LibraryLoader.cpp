#include "windows/WinLoader/LibraryLoader.h"

#include <dlfcn.h>
#include <fcntl.h>

#include "config/linux/FileSource.h"

namespace vexal {

LibraryRef loadLibraryBeside(const std::string& path, const std::string&) {
    // libjvm.so finds the runtime's other libraries from its own location;
    // its symbols are made global for the JNI libraries the runtime loads.
    return dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
}

void* libraryFunction(LibraryRef library, const char* name) {
    if (library == nullptr) return nullptr;
    return dlsym(library, name);
}

ImageArchitecture loadableArchitecture() {
    return ImageArchitecture{ImageFormat::Elf, kElfMachineX86_64, kElfClass64};
}

bool imageArchitectureOf(const std::string& path, ImageArchitecture& architecture) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    FileSource source(fd);
    return readImageArchitecture(source, architecture);
}

}  // namespace vexal
