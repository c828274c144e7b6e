#include "process/InstanceServices.h"

#include <windows.h>

#include <cstdio>

#include "common/win32/Handle.h"

namespace vexal {

namespace {

constexpr const char* kPidKey = "SOFTWARE\\tarnwellsoft\\vexal\\pids\\";

// Held open for the life of the process: its existence marks the running
// instance. Never waited on or released.
KernelHandle gMarker;

}  // namespace

bool createInstanceMarker(const std::string& name) {
    SetLastError(ERROR_SUCCESS);
    KernelHandle marker(CreateSemaphoreA(nullptr, 1, 1, name.c_str()));
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (existed) return false;
    gMarker = std::move(marker);
    return true;
}

std::uint32_t readInstancePid(const std::string& identity) {
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPidKey, 0, KEY_READ, key.out()) != ERROR_SUCCESS) {
        key.release();
        return 0;
    }
    DWORD pid = 0;
    DWORD size = sizeof pid;
    if (RegQueryValueExA(key.get(), identity.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&pid), &size) !=
            ERROR_SUCCESS ||
        size != sizeof pid) {
        return 0;
    }
    return pid;
}

void writeInstancePid(const std::string& identity) {
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPidKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr) !=
        ERROR_SUCCESS) {
        key.release();
        return;
    }
    const DWORD pid = GetCurrentProcessId();
    RegSetValueExA(key.get(), identity.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid), sizeof pid);
}

bool processRunning(std::uint32_t processId) {
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// A fresh name beside the file, created with CREATE_NEW (an existing file or
// link under it is never opened), then moved over the file.
bool writeCommunicationFile(const std::string& path, const std::u16string& text) {
    const std::u16string line = text + u'\n';
    const DWORD bytes = static_cast<DWORD>(line.size() * sizeof(char16_t));
    const unsigned long pid = GetCurrentProcessId();
    const unsigned long tick = GetTickCount();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof suffix, ".%lx_%lx_%u", pid, tick, attempt);
        const std::string fresh = path + suffix;
        FileHandle file(CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return false;
        }
        DWORD written = 0;
        const bool whole = WriteFile(file.get(), line.data(), bytes, &written, nullptr) && written == bytes;
        file.reset();
        if (whole && MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        DeleteFileA(fresh.c_str());
        return false;
    }
    return false;
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace vexal
