#include "windows/WinLoader/LibraryLoader.h"

#include <windows.h>

#include "common/win32/Handle.h"
#include "config/win32/FileSource.h"
#include "process/LibrarySearch.h"

namespace vexal {

namespace {

using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);

// Bound at run time: the call is missing on the oldest systems, where the
// library's own folder (through the altered search path) is all there is.
SetDllDirectoryFn setDllDirectoryFunction() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<SetDllDirectoryFn>(
                        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")))
                  : nullptr;
}

}  // namespace

LibraryRef loadLibraryBeside(const std::string& path, const std::string& dependencyDirectory) {
    // A runtime's jvm.dll needs libraries from its bin folder (the C runtime
    // of newer Java versions), which a plain load would not search.
    if (librarySearchRestricted()) {
        // The bin folder joins the searched folders and stays there once
        // the library has loaded: the runtime later loads libraries of its
        // own that need each other. The library's own folder is searched
        // for this load; nothing else beyond System32.
        const bool added = addLibrarySearchFolder(dependencyDirectory);
        HMODULE module = LoadLibraryExA(
            path.c_str(), nullptr,
            LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS);
        if (module == nullptr && added) removeLibrarySearchFolder(dependencyDirectory);
        return module;
    }
    // Without the restricted search the folder is put on the search path for
    // this load only; the empty folder afterwards keeps the current
    // directory out of every later load.
    static const SetDllDirectoryFn setDllDirectory = setDllDirectoryFunction();
    if (setDllDirectory) setDllDirectory(dependencyDirectory.c_str());
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (setDllDirectory) setDllDirectory("");
    return module;
}

void* libraryFunction(LibraryRef library, const char* name) {
    if (library == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

ImageArchitecture loadableArchitecture() {
    return ImageArchitecture{ImageFormat::Pe, sizeof(void*) == 8 ? kPeMachineAmd64 : kPeMachineI386, 0};
}

bool imageArchitectureOf(const std::string& path, ImageArchitecture& architecture) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FileSource source(file.get());
    return readImageArchitecture(source, architecture);
}

}  // namespace vexal
