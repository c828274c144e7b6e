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

}  // namespace vexal
