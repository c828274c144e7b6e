#pragma once
// Scratch files, directories and registry keys of the Windows-side tests.
#include <windows.h>

#include <string>

namespace vexal::wintest {

inline std::string platformTempPath() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

// A fresh directory below the platform's temporary path, without a trailing
// backslash; name tells the tests of one process apart.
inline std::string freshScratchDir(const std::string& name) {
    static unsigned counter = 0;
    // Process ids come round again under Wine: the start time keeps runs apart.
    static const unsigned long long started = GetTickCount64();
    const std::string dir = platformTempPath() + "vxl-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                            std::to_string(started) + "-" + std::to_string(++counter) + "-" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

inline bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool writeFile(const std::string& path, const std::string& content = "data") {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return written == content.size();
}

// The file held open for reading as a running program holds its archives.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// A directory whose name holds letters outside the ANSI code page, made in
// parent; returns its short (8.3) narrow form, empty when the platform gives
// none.
inline std::string makeUnusualDir(const std::string& parent) {
    std::wstring wideParent(parent.begin(), parent.end());
    const std::wstring dir = wideParent + L"\\\u4e2d\u6587\u76ee\u5f55";
    CreateDirectoryW(dir.c_str(), nullptr);
    wchar_t shortForm[MAX_PATH + 1];
    DWORD n = GetShortPathNameW(dir.c_str(), shortForm, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return std::string();
    char narrow[4 * MAX_PATH];
    BOOL lossy = FALSE;
    int m = WideCharToMultiByte(CP_ACP, 0, shortForm, static_cast<int>(n), narrow, sizeof narrow, nullptr, &lossy);
    if (m <= 0 || lossy) return std::string();
    return std::string(narrow, static_cast<std::size_t>(m)) + "\\";
}

// A registry key of its own below HKEY_CURRENT_USER for one test process.
inline std::string testDeletionKey(const std::string& name) {
    return "SOFTWARE\\tarnwellsoft\\vexal-tests\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
}

inline void deleteTestKey(const std::string& key) {
    std::string leaf = key;
    if (!leaf.empty() && leaf.back() == '\\') leaf.pop_back();
    RegDeleteKeyA(HKEY_CURRENT_USER, leaf.c_str());
}

inline bool keyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

// A value as it is stored: its type, its bytes as UTF-16 code units, and
// whether it exists.
struct StoredValue {
    bool found = false;
    DWORD type = 0;
    std::wstring data;
};

inline StoredValue readStoredValue(const std::string& key, const char* name) {
    StoredValue value;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
    std::wstring wideName(name, name + std::char_traits<char>::length(name));
    DWORD size = 0;
    if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size / sizeof(wchar_t));
        if (RegQueryValueExW(handle, wideName.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(&value.data[0]),
                             &size) == ERROR_SUCCESS) {
            value.found = true;
            value.data.resize(size / sizeof(wchar_t));
        }
    }
    RegCloseKey(handle);
    return value;
}

// The text of a string value. The launcher writes a list with the string's
// length; the registry then stores the zero that follows the text as well
// (as Windows NT does for REG_SZ), so one terminating zero is not part of it.
inline std::string narrowValue(const std::string& key, const char* name) {
    const StoredValue value = readStoredValue(key, name);
    std::string text(value.data.begin(), value.data.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

inline void writeValue(const std::string& key, const char* name, const std::string& text) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
    RegCloseKey(handle);
}

}  // namespace vexal::wintest
