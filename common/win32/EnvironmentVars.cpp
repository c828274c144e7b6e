#include "common/EnvironmentVars.h"

#include <windows.h>

#include "common/Limits.h"

namespace vexal {

bool getEnvironmentValue(const std::string& name, std::string& value) {
    char buffer[kTextBuffer];
    SetLastError(0);
    DWORD n = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (n == 0) {
        value.clear();
        return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    }
    if (n >= sizeof buffer) {
        // Longer than the buffer: keep what a buffer of this size holds.
        std::string whole(n, '\0');
        DWORD m = GetEnvironmentVariableA(name.c_str(), &whole[0], n);
        whole.resize(m < n ? m : 0);
        value = whole.substr(0, kTextBuffer - 1);
        return true;
    }
    value.assign(buffer, n);
    return true;
}

}  // namespace vexal
