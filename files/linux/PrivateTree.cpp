#include "files/linux/PrivateTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace vexal {

namespace {

// Deeper trees are left as they are rather than holding a descriptor for
// every level.
constexpr int kMaxDepth = 64;

bool privateDirectory(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 07777) == 0700;
}

// Splits an absolute path at its last element.
bool splitPath(const std::string& path, std::string& parent, std::string& name) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    if (trimmed.empty() || trimmed[0] != '/' || slash == std::string::npos) return false;
    name = trimmed.substr(slash + 1);
    parent = slash == 0 ? std::string("/") : trimmed.substr(0, slash);
    return !name.empty() && name != "." && name != "..";
}

// The directory at path, its last element not followed when it is a link
// (the places above it are the user's choice: TMPDIR may lead through links).
int openDirectoryNoFollow(const std::string& path) {
    if (path == "/") return ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string parent, name;
    if (!splitPath(path, parent, name)) return -1;
    const int above = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (above < 0) return -1;
    const int fd = openat(above, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    close(above);
    return fd;
}

// The parent of path, opened as above, and the last element.
int openParent(const std::string& path, std::string& name) {
    std::string parent;
    if (!splitPath(path, parent, name)) return -1;
    return openDirectoryNoFollow(parent);
}

std::vector<std::string> entriesOf(int dirFd) {
    std::vector<std::string> names;
    const int copy = dup(dirFd);
    if (copy < 0) return names;
    DIR* dir = fdopendir(copy);
    if (dir == nullptr) {
        close(copy);
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

// Empties the directory behind dirFd; sub-directories only of the same owner
// and file system.
void removeContents(int dirFd, const struct stat& top, int depth) {
    for (const std::string& name : entriesOf(dirFd)) {
        struct stat info {};
        if (fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(info.st_mode)) {
            unlinkat(dirFd, name.c_str(), 0);
            continue;
        }
        if (info.st_uid != top.st_uid || info.st_dev != top.st_dev || depth >= kMaxDepth) continue;
        const int sub = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) continue;
        struct stat opened {};
        // The entry may have been swapped between the look and the open.
        if (fstat(sub, &opened) == 0 && opened.st_ino == info.st_ino && opened.st_dev == info.st_dev &&
            opened.st_uid == top.st_uid) {
            removeContents(sub, top, depth + 1);
        }
        close(sub);
        unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
    }
}

}  // namespace

PrivateTree::PrivateTree(const std::string& path) {
    parent_ = openParent(path, name_);
    if (parent_ < 0) return;
    fd_ = openat(parent_, name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd_ >= 0 && (fstat(fd_, &info) != 0 || !privateDirectory(info))) {
        close(fd_);
        fd_ = -1;
    }
}

PrivateTree::~PrivateTree() {
    if (fd_ >= 0) close(fd_);
    if (parent_ >= 0) close(parent_);
}

bool PrivateTree::remove() {
    if (fd_ < 0) return false;
    struct stat top {};
    if (fstat(fd_, &top) != 0) return false;
    removeContents(fd_, top, 0);
    // The name must still lead to the directory just emptied.
    struct stat named {};
    if (fstatat(parent_, name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_ino != top.st_ino ||
        named.st_dev != top.st_dev) {
        return false;
    }
    return unlinkat(parent_, name_.c_str(), AT_REMOVEDIR) == 0;
}

FileRemoval removePrivateFile(const std::string& path) {
    std::string name;
    const int parent = openParent(path, name);
    if (parent < 0) return FileRemoval::Refused;
    struct stat dir {};
    struct stat info {};
    FileRemoval result = FileRemoval::Refused;
    if (fstat(parent, &dir) == 0 && privateDirectory(dir)) {
        if (fstatat(parent, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            result = FileRemoval::Removed;
        } else if (!S_ISDIR(info.st_mode) && info.st_uid == geteuid()) {
            result = unlinkat(parent, name.c_str(), 0) == 0 ? FileRemoval::Removed : FileRemoval::Failed;
        }
    }
    close(parent);
    return result;
}

}  // namespace vexal
