#include "files/DeferredDeletion.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "common/linux/StateDirectory.h"
#include "files/DeletionStore.h"
#include "files/linux/PrivateDirectory.h"
#include "files/linux/PrivateTree.h"

// The deferred deletion list lives in the per-user store ("deletions"),
// guarded by flock. Linux deletes open files, so this run's extraction
// directory is removed when the run ends (deleteTempFilesNow, and an atexit
// handler for an application that ends through System.exit); the list only
// matters after a crash. A run holds an exclusive flock on its own
// extraction directory while it lives: another start leaves a directory
// alone while that lock is held, and the kernel drops it when the process
// dies however it dies.
//
// Everything is removed through descriptors, never by a path that a link
// could redirect: a listed directory goes only when it is still this user's
// own with mode 0700 (an extraction directory as mkdtemp made it), a listed
// file only inside such a directory of the launcher's.

namespace vexal {

namespace {

struct State {
    std::vector<std::string> pendingFiles;
    std::vector<std::string> pendingDirs;
    std::vector<int> dirLocks;
    std::string storePath;  // empty: the per-user store's "deletions"
    bool locking = true;
    bool exitHandler = false;
};

State& state() {
    static State s;
    return s;
}

std::string storeFile() {
    if (!state().storePath.empty()) return state().storePath;
    const std::string dir = stateDirectory();
    return dir.empty() ? dir : dir + "deletions";
}

// The store opened and locked for one read-modify-write step; the lock goes
// with the descriptor.
class StoreFile {
public:
    StoreFile() {
        const std::string path = storeFile();
        if (path.empty()) return;
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ >= 0 && state().locking) {
            while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~StoreFile() {
        if (fd_ >= 0) close(fd_);
    }
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

    bool open_() const { return fd_ >= 0; }

    std::vector<DeletionEntry> read() const {
        std::string text;
        char buffer[4096];
        off_t at = 0;
        for (;;) {
            const ssize_t n = pread(fd_, buffer, sizeof buffer, at);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            text.append(buffer, static_cast<std::size_t>(n));
            at += n;
        }
        return parseDeletionStore(text);
    }

    void write(const std::vector<DeletionEntry>& entries) const {
        const std::string text = formatDeletionStore(entries);
        if (ftruncate(fd_, 0) != 0) return;
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }

private:
    int fd_ = -1;
};

void changeStore(char kind, const std::string& path, bool add) {
    StoreFile store;
    if (!store.open_()) return;
    std::vector<DeletionEntry> entries = store.read();
    const DeletionEntry entry{kind, path};
    if (add) {
        entries = withDeletionEntry(entries, entry);
    } else {
        std::vector<DeletionEntry> kept;
        for (const DeletionEntry& e : entries) {
            if (!(e == entry)) kept.push_back(e);
        }
        entries.swap(kept);
    }
    store.write(entries);
}

// True when something (a link included) is at path.
bool present(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// The launcher's own directories: extraction directories and the private
// per-user directory that holds them.
bool insideLauncherDirectory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return false;
    const std::string parent = path.substr(0, slash);
    const std::string& own = privateDirectory();
    return isExtractionDirectoryName(parent) || (!own.empty() && parent + "/" == own);
}

enum class DirectoryFate { Removed, Held, Left, Dropped };

// A listed directory: removed when it is an extraction directory of this
// user's (mode 0700, not a link) that no living run holds. Another user's
// directory under the same name, a link, or one of another mode is dropped
// from the list untouched.
DirectoryFate removeListedDirectory(const std::string& path) {
    if (!isExtractionDirectoryName(path)) return DirectoryFate::Dropped;
    PrivateTree tree(path);
    if (!tree.open()) return DirectoryFate::Dropped;
    if (flock(tree.fd(), LOCK_EX | LOCK_NB) != 0) return DirectoryFate::Held;
    return tree.remove() ? DirectoryFate::Removed : DirectoryFate::Left;
}

bool insideRememberedDir(const std::string& path) {
    for (const std::string& dir : state().pendingDirs) {
        if (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/') return true;
    }
    return false;
}

void deleteAtExit() { deleteTempFilesNow(); }

}  // namespace

const std::string& deletionListKey() { return state().storePath; }
void setDeletionListKey(const std::string& keyPath) { state().storePath = keyPath; }
void setDeletionListLocking(bool on) { state().locking = on; }

void rememberTempFile(const std::string& path) {
    state().pendingFiles.push_back(path);
    if (!insideRememberedDir(path)) addDeleteEntry(path, "delete_file");
}

// The directory is locked and entered in the list at once, so that a crash
// at any later point still leaves it to the next start.
void rememberTempDir(const std::string& path) {
    State& s = state();
    s.pendingDirs.push_back(path);
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        flock(fd, LOCK_EX | LOCK_NB);
        s.dirLocks.push_back(fd);
    }
    addDeleteEntry(path, "delete_dir");
    if (!s.exitHandler) s.exitHandler = std::atexit(deleteAtExit) == 0;
}

void registerPendingDeletions() {
    for (const std::string& path : state().pendingFiles) {
        if (!insideRememberedDir(path)) addDeleteEntry(path, "delete_file");
    }
    for (const std::string& path : state().pendingDirs) addDeleteEntry(path, "delete_dir");
}

void addDeleteEntry(const std::string& path, const char* valueName) {
    const char kind = std::string(valueName) == "delete_dir" ? 'd' : 'f';
    changeStore(kind, path, true);
}

bool canOpenExclusively(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    close(fd);
    return true;
}

void deleteTempFilesNow() {
    State& s = state();
    for (const std::string& path : s.pendingFiles) {
        removePrivateFile(path);
        if (!insideRememberedDir(path)) changeStore('f', path, false);
    }
    for (const std::string& path : s.pendingDirs) {
        PrivateTree(path).remove();
        changeStore('d', path, false);
    }
    for (int fd : s.dirLocks) close(fd);
    s.pendingFiles.clear();
    s.pendingDirs.clear();
    s.dirLocks.clear();
}

void cleanUpDeferredDeletions() {
    StoreFile store;
    if (!store.open_()) return;
    const std::vector<DeletionEntry> entries = store.read();
    std::vector<DeletionEntry> survivors;
    // Files first, so that a directory they emptied goes in the same pass; a
    // file entry outside the launcher's own directories is dropped untouched.
    for (const DeletionEntry& entry : entries) {
        if (entry.kind != 'f' || !insideLauncherDirectory(entry.path)) continue;
        if (removePrivateFile(entry.path) == FileRemoval::Failed) survivors.push_back(entry);
    }
    for (const DeletionEntry& entry : entries) {
        if (entry.kind != 'd') continue;
        const DirectoryFate fate = removeListedDirectory(entry.path);
        if (fate == DirectoryFate::Held || (fate == DirectoryFate::Left && present(entry.path))) {
            survivors.push_back(entry);
        }
    }
    store.write(survivors);
}

}  // namespace vexal
