#include "common/NtPlatform.h"

#include <windows.h>

namespace vexal {

bool isNtPlatform() {
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace vexal
