#pragma once
#include <string>

namespace vexal {

// A directory of this user's opened for removal without ever following a
// link: the parent is opened by its path, the directory relative to it with
// O_NOFOLLOW, and it is accepted only when it is a directory owned by this
// user with mode 0700, so nobody else can have put anything into it. A
// directory that is gone, a link, another user's, or of another mode stays
// closed (open() false) and is left alone.
class PrivateTree {
public:
    explicit PrivateTree(const std::string& path);
    ~PrivateTree();
    PrivateTree(const PrivateTree&) = delete;
    PrivateTree& operator=(const PrivateTree&) = delete;

    bool open() const { return fd_ >= 0; }
    // The directory's own descriptor (for its lock).
    int fd() const { return fd_; }

    // Removes everything inside, then the directory itself, strictly through
    // descriptors (openat, fstatat and unlinkat with links never followed):
    // a link is removed as a link; a sub-directory of another owner or on
    // another file system is not entered (and so the tree stays). True when
    // the directory is gone.
    bool remove();

private:
    int parent_ = -1;
    int fd_ = -1;
    std::string name_;
};

// Removes a file (not a directory) of this user's named by path, when its
// directory is one of this user's with mode 0700 (the parent opened as
// above); a link is removed as a link.
enum class FileRemoval {
    Removed,  // or gone already
    Refused,  // not such a file in such a directory: left alone
    Failed,   // such a file, but it could not be removed
};
FileRemoval removePrivateFile(const std::string& path);

}  // namespace vexal
