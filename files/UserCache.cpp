#include "files/UserCache.h"

namespace vexal {

std::string linuxCacheDirectoryFrom(const std::string& xdgCacheHome, const std::string& home) {
    if (!xdgCacheHome.empty() && xdgCacheHome[0] == '/') return xdgCacheHome + "/vexal/";
    if (!home.empty() && home[0] == '/') return home + "/.cache/vexal/";
    return std::string();
}

namespace {

bool isAbsoluteWindowsPath(const std::string& path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

std::string withBackslash(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path + "\\";
}

}  // namespace

std::string windowsCacheDirectoryFrom(const std::string& localAppData, const std::string& userProfile) {
    if (isAbsoluteWindowsPath(localAppData)) return withBackslash(localAppData) + "vexal\\";
    if (isAbsoluteWindowsPath(userProfile)) return withBackslash(userProfile) + "AppData\\Local\\vexal\\";
    return std::string();
}

}  // namespace vexal
