#include <windows.h>

#include "common/Limits.h"
#include "files/TempFiles.h"

namespace vexal {

// Interim until the temporary-directory choice lands: a fresh "vxl" file in
// the platform's temporary path; empty when none can be made.
std::string createTempFileName() {
    char directory[kTextBuffer];
    DWORD n = GetTempPathA(sizeof directory, directory);
    if (n == 0 || n >= sizeof directory) return std::string();
    char name[MAX_PATH + 1];
    if (GetTempFileNameA(directory, "vxl", 0, name) == 0) return std::string();
    return name;
}

}  // namespace vexal
