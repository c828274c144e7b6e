#include "files/CacheFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <cstdlib>

namespace vexal {

namespace {

// Removes the entries of the directory open at fd, depth-first, relative to
// the directory descriptors, never through a link.
bool removeEntries(int fd, int depth) {
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        close(fd);
        return false;
    }
    bool ok = true;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        if (fstatat(dirfd(dir), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            ok = false;
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            fchmodat(dirfd(dir), name.c_str(), 0700, 0);
            const int sub = openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub < 0 || depth > 16 || !removeEntries(sub, depth + 1)) ok = false;
            if (unlinkat(dirfd(dir), name.c_str(), AT_REMOVEDIR) != 0) ok = false;
        } else if (unlinkat(dirfd(dir), name.c_str(), 0) != 0) {
            ok = false;
        }
    }
    closedir(dir);
    return ok;
}

}  // namespace

FileFacts fileFacts(const std::string& path) {
    FileFacts facts;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return facts;
    facts.exists = true;
    facts.directory = S_ISDIR(info.st_mode);
    facts.size = static_cast<std::uint64_t>(info.st_size);
    facts.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return facts;
}

bool directoryHasEntries(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

std::vector<std::string> directoryNames(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

bool createExclusiveFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    close(fd);
    return true;
}

std::string readFileHead(const std::string& path, std::size_t count) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return std::string();
    std::string head(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = read(fd, &head[done], count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    close(fd);
    head.resize(done);
    return head;
}

bool syncFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

bool replaceFile(const std::string& from, const std::string& to) { return rename(from.c_str(), to.c_str()) == 0; }

bool renameDirectory(const std::string& from, const std::string& to) {
    // renameat2 with RENAME_NOREPLACE: a plain rename would replace an empty
    // directory of that name.
    return syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 1 /* RENAME_NOREPLACE */) == 0;
}

bool removeFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool removeTree(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    chmod(trimmed.c_str(), 0700);
    const int fd = open(trimmed.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return unlink(trimmed.c_str()) == 0;
    const bool emptied = removeEntries(fd, 0);
    return rmdir(trimmed.c_str()) == 0 && emptied;
}

std::string makeUniqueDirectory(const std::string& prefix) {
    std::string name = prefix + "XXXXXX";
    return mkdtemp(&name[0]) != nullptr ? name : std::string();
}

std::uint64_t freeSpace(const std::string& dir) {
    struct statvfs info {};
    if (statvfs(dir.c_str(), &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

void touchPath(const std::string& path) { utimensat(AT_FDCWD, path.c_str(), nullptr, AT_SYMLINK_NOFOLLOW); }

void makeReadOnly(const std::string& path, bool directory) { chmod(path.c_str(), directory ? 0500 : 0400); }

std::int64_t currentFileTime() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t fileTimeDays(int days) { return static_cast<std::int64_t>(days) * 86400 * 1000000000; }

}  // namespace vexal
