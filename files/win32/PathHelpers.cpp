#include "files/PathHelpers.h"

#include <windows.h>

#include "common/Limits.h"

namespace vexal {

const std::string& ownExePath() {
    static const std::string path = [] {
        char buffer[kTextBuffer];
        DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
        if (n >= sizeof buffer) n = sizeof buffer - 1;
        return std::string(buffer, n);
    }();
    return path;
}

std::string longPathName(const std::string& path) {
    char buffer[kTextBuffer];
    DWORD n = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return std::string();
    return std::string(buffer, n);
}

// Interim: the drive roots without the disk, else a directory search.
bool pathExists(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
        const std::string rest = path.substr(3);
        if (rest.empty() || rest == "." || rest == ".\\.") return true;
    }
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace vexal
