// The per-user cache on Linux, and the checks that keep it private.
#include "files/UserCache.h"

#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vexal {

namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME")) return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string errorText(const std::string& what, const std::string& path) {
    return what + " " + path + ": " + std::strerror(errno);
}

// Creates the missing folders of path (mode 0700), leaving existing ones as
// they are.
bool makeParents(const std::string& path, std::string& problem) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            problem = errorText("cannot create", part);
            return false;
        }
    }
    return true;
}

// Every folder from "/" down to dir (its real path) belongs to root or the
// user and is writable by nobody else, unless sticky (as /tmp): otherwise
// another user could move the cache aside and put a folder of theirs in its
// place.
bool safeAncestors(const std::string& dir, std::string& problem) {
    char real[PATH_MAX];
    if (realpath(dir.c_str(), real) == nullptr) {
        problem = errorText("cannot resolve", dir);
        return false;
    }
    const std::string path = real;
    const uid_t me = geteuid();
    for (std::size_t end = 1;; end = path.find('/', end + 1)) {
        const std::string part = end == std::string::npos ? path : path.substr(0, end);
        struct stat info {};
        if (lstat(part.empty() ? "/" : part.c_str(), &info) != 0) {
            problem = errorText("cannot examine", part);
            return false;
        }
        if (info.st_uid != 0 && info.st_uid != me) {
            problem = part + " belongs to another user";
            return false;
        }
        if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0) {
            problem = part + " is writable by other users";
            return false;
        }
        if (end == std::string::npos) return true;
    }
}

// dir (no trailing "/") exists as a directory of the user's own, not a link,
// mode 0700 (tightened when it is the user's and looser).
bool privateDirectory(const std::string& dir, std::string& problem) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        problem = errorText("cannot create", dir);
        return false;
    }
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == ELOOP || errno == ENOTDIR ? dir + " is not a directory (a link?)" : errorText("cannot open", dir);
        return false;
    }
    struct stat info {};
    bool ok = fstat(fd, &info) == 0;
    if (ok && info.st_uid != geteuid()) {
        problem = dir + " belongs to another user";
        ok = false;
    }
    if (ok && (info.st_mode & 077) != 0 && fchmod(fd, 0700) != 0) {
        problem = errorText("cannot make private", dir);
        ok = false;
    }
    close(fd);
    return ok;
}

struct Cache {
    std::string directory;
    std::string problem;
};

Cache findCache() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    Cache cache;
    std::string dir = linuxCacheDirectoryFrom(xdg != nullptr ? xdg : "", homeDirectory());
    if (dir.empty()) {
        cache.problem = "no absolute XDG_CACHE_HOME or HOME";
        return cache;
    }
    dir.pop_back();  // the trailing "/"
    const std::string parent = dir.substr(0, dir.rfind('/'));
    if (makeParents(dir, cache.problem) && safeAncestors(parent.empty() ? "/" : parent, cache.problem) &&
        privateDirectory(dir, cache.problem)) {
        cache.directory = dir + "/";
    }
    return cache;
}

}  // namespace

std::string userCacheDirectory(std::string& problem) {
    static const Cache cache = findCache();
    problem = cache.problem;
    return cache.directory;
}

std::string userCacheSubdirectory(const char* name, std::string& problem) {
    const std::string base = userCacheDirectory(problem);
    if (base.empty()) return base;
    const std::string dir = base + name;
    return privateDirectory(dir, problem) ? dir + "/" : std::string();
}

}  // namespace vexal
