#include "files/PathHelpers.h"

#include <windows.h>

#include "common/Limits.h"
#include "common/NtPlatform.h"
#include "common/win32/Handle.h"
#include "common/TextCodec.h"
#include "files/PathLogic.h"

namespace vexal {

namespace {

struct FindHandleTraits {
    using Value = HANDLE;
    static Value invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Value v) { FindClose(v); }
};

wchar_t* wideData(std::u16string& text) { return reinterpret_cast<wchar_t*>(&text[0]); }

// NT family: the wide module name and its short form, accepted only when
// the file code page spells it without "?" and it still ends in ".exe".
std::string ownExePathWide() {
    std::u16string module(kTextBuffer, u'\0');
    DWORD n = GetModuleFileNameW(nullptr, wideData(module), kTextBuffer);
    if (n == 0 || n >= kTextBuffer) return std::string();
    std::u16string shortName(kTextBuffer, u'\0');
    DWORD m = GetShortPathNameW(wideData(module), wideData(shortName), kTextBuffer);
    if (m == 0 || m >= kTextBuffer) return std::string();
    shortName.resize(m);
    bool lossless = false;
    std::string narrow = wideToFileCodePage(shortName, &lossless);
    if (!lossless || !hasExeSuffix(narrow)) return std::string();
    return narrow;
}

// The narrow module name and its short form (the long one when the system
// has no short form for it).
std::string ownExePathNarrow() {
    char module[kTextBuffer];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    if (n >= sizeof module) n = sizeof module - 1;
    module[n] = '\0';
    char shortName[kTextBuffer];
    DWORD m = GetShortPathNameA(module, shortName, sizeof shortName);
    if (m == 0 || m >= sizeof shortName) return std::string(module, n);
    return std::string(shortName, m);
}

std::string computeOwnExePath() {
    std::string path;
    if (isNtPlatform()) path = ownExePathWide();
    if (path.empty()) path = ownExePathNarrow();
    return collapseBackslashPath(toLowerPath(path));
}

std::string computeExecutableDirectory() {
    const std::string& exe = ownExePath();
    char full[kTextBuffer];
    char* filePart = nullptr;
    DWORD n = GetFullPathNameA(exe.c_str(), sizeof full, full, &filePart);
    if (n == 0 || n >= sizeof full) {
        const std::size_t slash = exe.rfind('\\');
        return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
    }
    if (filePart == nullptr) return std::string(full, n);
    return std::string(full, static_cast<std::size_t>(filePart - full));
}

}  // namespace

const std::string& ownExePath() {
    static const std::string path = computeOwnExePath();
    return path;
}

const std::string& executableDirectory() {
    static const std::string directory = computeExecutableDirectory();
    return directory;
}

std::string absolutePath(const std::string& path, bool keepCase) {
    const std::string resolved = resolveAgainstExeDir(path);
    char full[kTextBuffer];
    DWORD n = GetFullPathNameA(resolved.c_str(), sizeof full, full, nullptr);
    // Without a full name the resolved path is the best there is.
    std::string out = n == 0 || n >= sizeof full ? resolved : std::string(full, n);
    if (!keepCase) out = toLowerPath(out);
    return collapseBackslashPath(out);
}

std::string toLowerPath(const std::string& path) {
    if (path.empty()) return path;
    std::u16string wide = fileCodePageToWide(path);
    if (wide.empty()) return path;
    CharLowerBuffW(wideData(wide), static_cast<DWORD>(wide.size()));
    bool lossless = false;
    std::string lower = wideToFileCodePage(wide, &lossless);
    return lossless ? lower : path;
}

std::string collapseBackslashPath(const std::string& path) {
    if (path.empty()) return path;
    const std::u16string wide = fileCodePageToWide(path);
    if (wide.empty()) return path;
    bool lossless = false;
    std::string collapsed = wideToFileCodePage(collapseBackslashes(wide), &lossless);
    return lossless ? collapsed : path;
}

bool pathExists(const std::string& path) { return isDriveRootSpelling(path) || findFile(path, nullptr); }

bool findFile(const std::string& path, FileTime* lastWriteTime) {
    WIN32_FIND_DATAA data;
    UniqueResource<FindHandleTraits> search(FindFirstFileA(path.c_str(), &data));
    if (!search) return false;
    if (lastWriteTime != nullptr) {
        lastWriteTime->low = data.ftLastWriteTime.dwLowDateTime;
        lastWriteTime->high = data.ftLastWriteTime.dwHighDateTime;
    }
    return true;
}

}  // namespace vexal
