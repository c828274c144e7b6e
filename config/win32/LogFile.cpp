#include "config/LogFile.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

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

namespace {

// Our own unique names keep the whole "kvl_nlog_" prefix (the C runtime's
// temporary-name service keeps only part of it on some platforms): the
// process id and a counter. CREATE_NEW never opens an existing file (or what
// a planted link leads to), and the stream is made from that very handle,
// so no other file can take the name's place in between.
std::FILE* createIn(const std::string& directory, std::string& path) {
    const DWORD pid = GetCurrentProcessId();
    const DWORD tick = GetTickCount();
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate = directory + format("kvl_nlog_%lx%lx_%u", static_cast<unsigned long>(pid),
                                                   static_cast<unsigned long>(tick & 0xFFFF), attempt);
        HANDLE h = CreateFileA(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return nullptr;
        }
        const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
        if (fd < 0) {
            CloseHandle(h);
            DeleteFileA(candidate.c_str());
            return nullptr;
        }
        std::FILE* file = _fdopen(fd, "w");
        if (file == nullptr) {
            _close(fd);
            DeleteFileA(candidate.c_str());
            return nullptr;
        }
        path = candidate;
        return file;
    }
    return nullptr;
}

}  // namespace

std::FILE* createUniqueLogFile(std::string& path) {
    const std::string directory = logDirectory();
    std::FILE* file = createIn(directory, path);
    if (file == nullptr && directory != "c:\\") file = createIn("c:\\", path);
    return file;
}

std::FILE* fallbackLogStream() { return nullptr; }

std::string moduleFileName() {
    char buffer[kTextBuffer];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n >= sizeof buffer) n = sizeof buffer - 1;
    return std::string(buffer, n);
}

}  // namespace vexal
