#include "windows/WinLoader/LibraryLoader.h"

#include <dlfcn.h>

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

}  // namespace vexal
