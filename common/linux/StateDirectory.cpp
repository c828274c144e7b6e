#include "common/linux/StateDirectory.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "common/StoreName.h"

namespace vexal {

namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME")) return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool makeDirectories(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos || slash + 1 >= path.size()) break;
    }
    return isDirectory(path);
}

std::string stateDirectory() {
    const char* xdg = std::getenv("XDG_STATE_HOME");
    std::string dir = stateDirectoryFrom(xdg != nullptr ? xdg : "", homeDirectory());
    return makeDirectories(dir) ? dir : std::string();
}

std::string stateSubdirectory(const char* sub) {
    const std::string base = stateDirectory();
    if (base.empty()) return base;
    const std::string dir = base + sub + "/";
    return makeDirectories(dir) ? dir : std::string();
}

}  // namespace vexal
