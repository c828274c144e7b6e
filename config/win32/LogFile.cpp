#include "config/LogFile.h"

#include <windows.h>

#include "common/EnvironmentVars.h"
#include "common/Format.h"
#include "common/Limits.h"

namespace vexal {

namespace {

bool isDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string logDirectory() {
    std::string tmp;
    if (getEnvironmentValue("TMP", tmp) && !tmp.empty() && isDirectory(tmp)) {
        if (tmp.back() != '\\' && tmp.back() != '/') tmp += '\\';
        return tmp;
    }
    return "c:\\";
}

}  // namespace

std::FILE* createUniqueLogFile(std::string& path) {
    // Our own unique names keep the whole "kvl_nlog_" prefix (the C runtime's
    // temporary-name service keeps only part of it on some platforms): the
    // process id and a counter, created exclusively so no file is reused.
    const std::string directory = logDirectory();
    const DWORD pid = GetCurrentProcessId();
    const DWORD tick = GetTickCount();
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate = directory + format("kvl_nlog_%lx%lx_%u", static_cast<unsigned long>(pid),
                                                   static_cast<unsigned long>(tick & 0xFFFF), attempt);
        HANDLE h = CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return nullptr;
        }
        CloseHandle(h);
        std::FILE* file = std::fopen(candidate.c_str(), "w");
        if (file == nullptr) {
            DeleteFileA(candidate.c_str());
            return nullptr;
        }
        path = candidate;
        return file;
    }
    return nullptr;
}

const char* fallbackLogPath() { return "c:\\kvl_nlog"; }

std::string moduleFileName() {
    char buffer[kTextBuffer];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n >= sizeof buffer) n = sizeof buffer - 1;
    return std::string(buffer, n);
}

}  // namespace vexal
