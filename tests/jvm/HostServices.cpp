// The launcher services that the JNI units reach, for the native real-JVM
// tests: paths as the Linux launcher treats them. Case is always kept.
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"

namespace vexal {

const std::string& executableDirectory() {
    static const std::string directory = [] {
        char buffer[4096];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        std::string exe = n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string("./");
        return exe.substr(0, exe.rfind('/') + 1);
    }();
    return directory;
}

std::string absolutePath(const std::string& path, bool) {
    return !path.empty() && path[0] == '/' ? path : executableDirectory() + path;
}

// As on Linux: a backslash is a character of a file name, so a path built
// with Windows separators is not found.
bool pathExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

char launcherKind() {
    const std::string kind = configString(id::LauncherKind);
    return kind.empty() ? '\0' : kind[0];
}

}  // namespace vexal
