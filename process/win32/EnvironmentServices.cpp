#include "process/EnvironmentServices.h"

#include <windows.h>

#include <cstdlib>

namespace vexal {

bool readPathVariable(std::string& value) {
    value.clear();
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (needed == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    // The value may change between the calls: ask again until it fits.
    for (;;) {
        std::string buffer(needed, '\0');
        DWORD n = GetEnvironmentVariableA("PATH", &buffer[0], needed);
        if (n < needed) {
            buffer.resize(n);
            value = buffer;
            return true;
        }
        needed = n;
    }
}

void setPathVariable(const std::string& value) {
    SetEnvironmentVariableA("PATH", value.c_str());
    _putenv(("PATH=" + value).c_str());
}

bool changeCurrentDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

}  // namespace vexal
