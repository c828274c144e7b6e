#include "windows/WinLoader/JvmLibrary.h"

#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/WinLoader/JvmLibraryLogic.h"
#include "windows/WinLoader/LibraryLoader.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

LibraryRef tryJvmVariant(const std::string& javaExecutable, const std::string& variant) {
    const PathStyle& style = platformPathStyle();
    const std::string directory = javaExecutableDirectory(javaExecutable, style);
    for (const std::string& path : jvmVariantPaths(directory, variant, style)) {
        logDebug("Trying %s (exists %d)", path.c_str(), pathExists(path) ? 1 : 0);
        // The executable's folder is the runtime's bin folder, where the
        // libraries that the JVM library needs live.
        if (LibraryRef library = loadLibraryBeside(path, directory)) {
            setJvmLibraryPath(path);
            return library;
        }
    }
    return nullptr;
}

LibraryRef findJvmInBin(const std::string& javaExecutable) {
    for (const std::string& variant : jvmVariantOrder(configString(id::PreferredVariant))) {
        if (LibraryRef library = tryJvmVariant(javaExecutable, variant)) return library;
    }
    return nullptr;
}

LibraryRef loadJvmLibrary(const std::string& javaExecutable) {
    if (LibraryRef library = findJvmInBin(javaExecutable)) return library;
    return findJvmInBin(alternativeJavaExecutable(javaExecutable, platformPathStyle()));
}

bool bindCreateJavaVm(LibraryRef library) {
    void* createJavaVm = libraryFunction(library, "JNI_CreateJavaVM");
    if (createJavaVm == nullptr) return false;
    setJvmEntryPoint(createJavaVm);
    return true;
}

}  // namespace vexal
