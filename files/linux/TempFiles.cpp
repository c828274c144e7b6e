#include "files/TempFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "config/ErrorReport.h"

// The temporary directory on Linux: $TMPDIR when it names a directory, else
// /tmp. There are no code-page fall-backs to walk.

namespace vexal {

namespace {

constexpr const char* kNoTempText = "I am sorry, but you must be at least Poweruser to run this program.\n";
constexpr const char* kNoTempTitle = "Error";

std::unique_ptr<TempDirSources>& sourcesOverride() {
    static std::unique_ptr<TempDirSources> sources;
    return sources;
}

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

void overrideTempDirSources(const TempDirSources* sources) {
    sourcesOverride() = sources ? std::make_unique<TempDirSources>(*sources) : nullptr;
}

std::string chooseTempDir() {
    const std::unique_ptr<TempDirSources>& given = sourcesOverride();
    const std::string dir = selectTempDir(given ? *given : platformTempDirSources());
    if (dir.empty()) {
        displayErrorBox(kNoTempTitle, kNoTempText, nullptr);
        exitLauncher(1);
    }
    return dir;
}

std::string createTempFileName() {
    std::string name = chooseTempDir() + "vxlXXXXXX";
    const int fd = mkstemp(&name[0]);
    if (fd < 0) return std::string();
    close(fd);
    return name;
}

std::string commFileName(unsigned long processId) {
    return platformTempPath() + "vxl_p" + std::to_string(processId) + ".tmp";
}

}  // namespace vexal
