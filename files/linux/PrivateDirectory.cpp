#include "files/linux/PrivateDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "files/TempFiles.h"

namespace vexal {

namespace {

// Readable and writable by the owner alone, owned by this user.
bool ownAndClosed(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

// XDG_RUNTIME_DIR is usable when it is absolute and names a directory of
// this user that nobody else may enter. The variable may lead through links:
// the user chose it.
bool usableRuntimeDir(const std::string& dir) {
    struct stat info {};
    return !dir.empty() && dir[0] == '/' && stat(dir.c_str(), &info) == 0 && ownAndClosed(info);
}

// name inside base, made with mode 0700 when missing. True when it is then a
// directory (the name itself not a link) of this user with mode 0700. A
// directory that this call made and the umask narrowed is set to 0700; one
// found with any other mode, or of another owner, is refused as it is.
bool ensurePrivate(const std::string& base, const std::string& name) {
    const int baseFd = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (baseFd < 0) return false;
    const bool made = mkdirat(baseFd, name.c_str(), 0700) == 0;
    const int fd = openat(baseFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    close(baseFd);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid();
    if (ok && made && (info.st_mode & 07777) != 0700) ok = fchmod(fd, 0700) == 0 && fstat(fd, &info) == 0;
    ok = ok && (info.st_mode & 07777) == 0700;
    close(fd);
    return ok;
}

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

}  // namespace

std::string choosePrivateDirectory(const std::string& runtimeDir, const std::string& tempDir) {
    if (usableRuntimeDir(runtimeDir) && ensurePrivate(runtimeDir, "vexal")) return withSlash(runtimeDir) + "vexal/";
    const std::string name = "vexal-" + std::to_string(static_cast<unsigned long>(geteuid()));
    if (!tempDir.empty() && ensurePrivate(tempDir, name)) return withSlash(tempDir) + name + "/";
    return std::string();
}

const std::string& privateDirectory() {
    static const std::string directory = [] {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        return choosePrivateDirectory(runtime != nullptr ? runtime : "", selectTempDir(platformTempDirSources()));
    }();
    return directory;
}

}  // namespace vexal
