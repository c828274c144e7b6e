// Interim Linux services of the JVM search and loading: enough for the
// launcher to build and to report that no runtime was found. No registry
// exists, no Java is probed, no helper process is started. Replaced by the
// Linux JVM search.
#include <dlfcn.h>

#include "windows/WinLoader/HiddenProcess.h"
#include "windows/WinLoader/JavaCheck.h"
#include "windows/WinLoader/JavaProcess.h"
#include "windows/WinLoader/LibraryLoader.h"
#include "windows/WinLoader/RegistryAccess.h"

namespace vexal {

LibraryRef loadLibraryBeside(const std::string& path, const std::string&) {
    return dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
}

void* libraryFunction(LibraryRef library, const char* name) { return dlsym(library, name); }

bool probeJavaVersion(const std::string&, std::string&) { return false; }

bool searchExecutable(const std::string&, std::string&) { return false; }

ProcessRef startHiddenProcess(const std::string&) { return nullptr; }

void waitForProcessEnd(ProcessRef) {}

bool readRegistryText(RegistryRoot, const std::string&, const char*, std::size_t, std::string&) { return false; }

bool readRegistryBytes(RegistryRoot, const std::string&, const char*, std::size_t, std::string&) { return false; }

bool listRegistrySubkeys(RegistryRoot, const std::string&, std::vector<std::string>&) { return false; }

bool writeRegistryValues(RegistryRoot, const std::string&, const std::vector<RegistryValue>&) { return false; }

}  // namespace vexal
