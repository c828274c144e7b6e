#include "files/TempFiles.h"

#include <windows.h>


#include "common/Limits.h"
#include "files/PathHelpers.h"

namespace vexal {

namespace {

std::string platformTempPath() {
    char buffer[kTextBuffer];
    DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n >= sizeof buffer) n = 0;
    return std::string(buffer, n);
}

std::string windowsDirectory() {
    char buffer[kTextBuffer];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (n >= sizeof buffer) n = 0;
    return std::string(buffer, n);
}

}  // namespace

TempDirSources platformTempDirSources() {
    return TempDirSources{platformTempPath(), windowsDirectory(), "c:\\"};
}

bool isWritableDir(const std::string& dir) {
    const std::string probe = dir + "\\vxl_w_testdir";
    RemoveDirectoryA(probe.c_str());  // a leftover of an earlier probe
    if (!CreateDirectoryA(probe.c_str(), nullptr)) return false;
    const bool found = pathExists(probe);
    RemoveDirectoryA(probe.c_str());
    return found;
}

std::string selectTempDir(const TempDirSources& sources) {
    // A "?" in the long form stands for a letter the ANSI code page lacks:
    // paths under such a directory cannot be handed on as narrow text.
    if (longPathName(sources.tempPath).find('?') == std::string::npos) return sources.tempPath;

    const std::string candidates[] = {
        sources.windowsDir + "\\temp",
        sources.driveRoot + "temp",
        sources.driveRoot + "tmp",
        sources.windowsDir,
    };
    for (const std::string& dir : candidates) {
        if (isWritableDir(dir)) return dir;
    }
    if (isWritableDir(sources.driveRoot)) {
        const std::string made = sources.driveRoot + "tmp";
        CreateDirectoryA(made.c_str(), nullptr);
        if (isWritableDir(made)) return made;
    }
    return std::string();
}

std::string createTempFileName() {
    const std::string dir = chooseTempDir();
    char buffer[kTextBuffer];  // the service writes at most MAX_PATH bytes
    if (GetTempFileNameA(dir.c_str(), "vxl", 0, buffer) == 0) return std::string();
    return std::string(buffer);
}

std::string commFileName(unsigned long processId) {
    return platformTempPath() + "vxl_p" + std::to_string(processId) + ".tmp";
}

}  // namespace vexal
