#include "windows/WinLoader/RegistryAccess.h"

#include <windows.h>

#include "common/win32/Handle.h"

namespace vexal {

namespace {

HKEY rootKey(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

RegistryKey openForReading(RegistryRoot root, const std::string& key) {
    RegistryKey handle;
    if (RegOpenKeyExA(rootKey(root), key.c_str(), 0, KEY_READ, handle.out()) != ERROR_SUCCESS) handle.release();
    return handle;
}

// The value's bytes, read into a buffer of bufferSize bytes.
bool queryValue(RegistryRoot root, const std::string& key, const char* name, std::size_t bufferSize,
                std::string& bytes, DWORD& type) {
    RegistryKey handle = openForReading(root, key);
    if (!handle) return false;
    std::string buffer(bufferSize, '\0');
    DWORD size = static_cast<DWORD>(bufferSize);
    if (RegQueryValueExA(handle.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]), &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.assign(buffer.data(), size < bufferSize ? size : bufferSize);
    return true;
}

}  // namespace

bool readRegistryText(RegistryRoot root, const std::string& key, const char* name, std::size_t bufferSize,
                      std::string& text) {
    std::string bytes;
    DWORD type = 0;
    if (!queryValue(root, key, name, bufferSize, bytes, type)) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    const std::size_t end = bytes.find('\0');
    if (end != std::string::npos) bytes.resize(end);
    // A value stored without terminator that fills the whole buffer leaves
    // no room for one: too long.
    if (bytes.size() >= bufferSize) return false;
    text = bytes;
    return true;
}

bool readRegistryBytes(RegistryRoot root, const std::string& key, const char* name, std::size_t maxBytes,
                       std::string& bytes) {
    DWORD type = 0;
    return queryValue(root, key, name, maxBytes, bytes, type);
}

bool listRegistrySubkeys(RegistryRoot root, const std::string& key, std::vector<std::string>& names) {
    RegistryKey handle = openForReading(root, key);
    if (!handle) return false;
    char name[8192];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        const LONG result = RegEnumKeyExA(handle.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) continue;  // a name beyond the buffer: skipped
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return true;
}

bool writeRegistryValues(RegistryRoot root, const std::string& key, const std::vector<RegistryValue>& values) {
    RegistryKey handle;
    if (RegCreateKeyExA(rootKey(root), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        handle.out(), nullptr) != ERROR_SUCCESS) {
        handle.release();
        return false;
    }
    for (const RegistryValue& value : values) {
        RegSetValueExA(handle.get(), value.name, 0, value.binary ? REG_BINARY : REG_SZ,
                       reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
    }
    return true;
}

}  // namespace vexal
