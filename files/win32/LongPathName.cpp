#include "files/win32/LongPathName.h"

#include <shlobj.h>

#include <atomic>
#include <cstring>

#include "common/Limits.h"
#include "common/TextCodec.h"
#include "files/PathHelpers.h"

namespace vexal {

namespace {

DWORD WINAPI resolveLongPath(LPCSTR shortPath, LPSTR out, DWORD size);

std::atomic<LongPathFunction> gLongPath{resolveLongPath};

// Test override of the KERNEL32 lookup.
bool gLookupOverridden = false;
LongPathFunction gLookupResult = nullptr;

template <typename Function>
Function procedure(HMODULE module, const char* name) {
    FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

LongPathFunction lookUpPlatformFunction() {
    if (gLookupOverridden) return gLookupResult;
    return procedure<LongPathFunction>(GetModuleHandleA("KERNEL32"), "GetLongPathNameA");
}

DWORD WINAPI resolveLongPath(LPCSTR shortPath, LPSTR out, DWORD size) {
    if (LongPathFunction platform = lookUpPlatformFunction()) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = platform(shortPath, out, size);
        if (n != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
            gLongPath = platform;
            return n;
        }
    }
    gLongPath = emulateLongPathName;
    return emulateLongPathName(shortPath, out, size);
}

// The shell's entry points, loaded only when the emulation runs (the library
// stays loaded: the emulation is kept for the rest of the run).
struct Shell {
    using DesktopFolder = HRESULT(WINAPI*)(IShellFolder**);
    using PathFromItems = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR);
    using Allocator = HRESULT(WINAPI*)(IMalloc**);
    DesktopFolder desktopFolder = nullptr;
    PathFromItems pathFromItems = nullptr;
    Allocator allocator = nullptr;
    bool usable() const { return desktopFolder && pathFromItems && allocator; }
};

const Shell& shell() {
    static const Shell entries = [] {
        Shell s;
        HMODULE module = LoadLibraryA("SHELL32.DLL");
        s.desktopFolder = procedure<Shell::DesktopFolder>(module, "SHGetDesktopFolder");
        s.pathFromItems = procedure<Shell::PathFromItems>(module, "SHGetPathFromIDListA");
        s.allocator = procedure<Shell::Allocator>(module, "SHGetMalloc");
        return s;
    }();
    return entries;
}

// Releases a COM interface on every way out.
template <typename Interface>
class ComRef {
public:
    ~ComRef() {
        if (p_) p_->Release();
    }
    Interface** out() { return &p_; }
    Interface* operator->() const { return p_; }

private:
    Interface* p_ = nullptr;
};

// Frees an item list through the shell's allocator.
class ItemList {
public:
    explicit ItemList(const Shell& s) : shell_(s) {}
    ~ItemList() {
        if (items_ == nullptr) return;
        ComRef<IMalloc> malloc;
        if (SUCCEEDED(shell_.allocator(malloc.out()))) malloc->Free(items_);
    }
    PIDLIST_RELATIVE* out() { return &items_; }
    PCIDLIST_ABSOLUTE get() const { return reinterpret_cast<PCIDLIST_ABSOLUTE>(items_); }

private:
    const Shell& shell_;
    PIDLIST_RELATIVE items_ = nullptr;
};

DWORD fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

DWORD callLongPathFunction(LPCSTR shortPath, LPSTR out, DWORD size) { return gLongPath.load()(shortPath, out, size); }

DWORD WINAPI emulateLongPathName(LPCSTR shortPath, LPSTR out, DWORD size) {
    if (GetFileAttributesA(shortPath) == INVALID_FILE_ATTRIBUTES) return 0;
    char full[MAX_PATH];
    const DWORD fullLength = GetFullPathNameA(shortPath, MAX_PATH, full, nullptr);
    if (fullLength == 0) return 0;
    if (fullLength >= MAX_PATH) return fail(ERROR_BUFFER_OVERFLOW);

    const Shell& s = shell();
    if (!s.usable()) return fail(ERROR_CALL_NOT_IMPLEMENTED);
    ComRef<IShellFolder> desktop;
    if (FAILED(s.desktopFolder(desktop.out()))) return 0;
    std::u16string wide = fileCodePageToWide(std::string(full, fullLength));
    if (wide.empty()) return fail(ERROR_INVALID_DATA);
    if (wide.size() >= MAX_PATH) return fail(ERROR_BUFFER_OVERFLOW);

    ItemList items(s);
    ULONG eaten = 0;
    const HRESULT parsed =
        desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(&wide[0]), &eaten, items.out(), nullptr);
    if (FAILED(parsed)) return fail(HRESULT_FACILITY(parsed) == FACILITY_WIN32 ? HRESULT_CODE(parsed) : ERROR_INVALID_DATA);

    char path[MAX_PATH] = "";
    if (!s.pathFromItems(items.get(), path)) return fail(ERROR_INVALID_DATA);
    const DWORD length = static_cast<DWORD>(std::strlen(path));
    if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return length + 1;
    }
    std::memcpy(out, path, length + 1);
    return length;
}

LongPathFunction boundLongPathFunction() { return gLongPath.load(); }
LongPathFunction longPathResolver() { return resolveLongPath; }

void resetLongPathBindingForTests(LongPathFunction platformFunction) {
    gLookupOverridden = true;
    gLookupResult = platformFunction;
    gLongPath = resolveLongPath;
}

void resetLongPathBindingForTests() {
    gLookupOverridden = false;
    gLookupResult = nullptr;
    gLongPath = resolveLongPath;
}

std::string longPathName(const std::string& path) {
    char buffer[kTextBuffer];
    const DWORD n = callLongPathFunction(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return std::string();
    return std::string(buffer, n);
}

}  // namespace vexal
