#include "process/LibrarySearch.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "common/TextCodec.h"

namespace vexal {

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using AddDllDirectoryFn = void*(WINAPI*)(const wchar_t*);
using RemoveDllDirectoryFn = BOOL(WINAPI*)(void*);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);

// Bound at run time: Windows before 8 has these only with its update
// KB2533623, the oldest systems have none of them.
struct Services {
    SetDefaultDllDirectoriesFn setDefaultDirectories = nullptr;
    AddDllDirectoryFn addDirectory = nullptr;
    RemoveDllDirectoryFn removeDirectory = nullptr;
    SetDllDirectoryFn setDllDirectory = nullptr;
    bool restricted = false;
    std::vector<std::pair<std::string, void*>> added;  // folder, cookie
};

template <typename Fn>
Fn kernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

Services& services() {
    static Services s = [] {
        Services bound;
        bound.setDefaultDirectories = kernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories");
        bound.addDirectory = kernelFunction<AddDllDirectoryFn>("AddDllDirectory");
        bound.removeDirectory = kernelFunction<RemoveDllDirectoryFn>("RemoveDllDirectory");
        bound.setDllDirectory = kernelFunction<SetDllDirectoryFn>("SetDllDirectoryA");
        return bound;
    }();
    return s;
}

}  // namespace

void restrictLibrarySearch() {
    Services& s = services();
    if (s.setDefaultDirectories && s.addDirectory && s.removeDirectory &&
        s.setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS)) {
        s.restricted = true;
    }
    // An empty folder takes the current directory out of the standard
    // search order, which is all that the oldest systems offer.
    if (s.setDllDirectory) s.setDllDirectory("");
}

bool librarySearchRestricted() { return services().restricted; }

bool addLibrarySearchFolder(const std::string& folder) {
    Services& s = services();
    if (!s.restricted) return false;
    for (const auto& entry : s.added)
        if (entry.first == folder) return true;
    const std::u16string wide = fileCodePageToWide(folder);
    void* cookie = s.addDirectory(reinterpret_cast<const wchar_t*>(wide.c_str()));
    if (cookie == nullptr) return false;
    s.added.emplace_back(folder, cookie);
    return true;
}

void removeLibrarySearchFolder(const std::string& folder) {
    Services& s = services();
    for (auto it = s.added.begin(); it != s.added.end(); ++it) {
        if (it->first != folder) continue;
        s.removeDirectory(it->second);
        s.added.erase(it);
        return;
    }
}

}  // namespace vexal
