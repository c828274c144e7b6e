#include "files/TempFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "files/linux/PrivateDirectory.h"

// The temporary directory on Linux: $TMPDIR when it names a directory, else
// /tmp. There are no code-page fall-backs to walk.

namespace vexal {

namespace {

bool isDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// $TMPDIR as given (with a trailing "/"), or /tmp/.
std::string platformTempPath() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && tmp[0] == '/' && isDirectory(tmp)) return withSlash(tmp);
    return "/tmp/";
}

}  // namespace

TempDirSources platformTempDirSources() { return TempDirSources{platformTempPath(), std::string(), "/"}; }

bool isWritableDir(const std::string& dir) { return isDirectory(dir) && access(dir.c_str(), W_OK | X_OK) == 0; }

std::string selectTempDir(const TempDirSources& sources) {
    if (isWritableDir(sources.tempPath)) return withSlash(sources.tempPath);
    if (isWritableDir("/tmp")) return "/tmp/";
    return std::string();
}

std::string createTempFileName() {
    std::string name = chooseTempDir() + "vxlXXXXXX";
    const int fd = mkstemp(&name[0]);
    if (fd < 0) return std::string();
    close(fd);
    return name;
}

// In the private per-user directory, where nobody else can plant, read or
// swap it; empty (no hand-over) when that cannot be had.
std::string commFileName(unsigned long processId) {
    const std::string& dir = privateDirectory();
    return dir.empty() ? dir : dir + "vxl_p" + std::to_string(processId) + ".tmp";
}

}  // namespace vexal
