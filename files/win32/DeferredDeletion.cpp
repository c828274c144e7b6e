#include "files/DeferredDeletion.h"

#include <windows.h>
#include <aclapi.h>

#include <memory>
#include <vector>

#include "common/Limits.h"
#include "common/win32/Handle.h"
#include "files/DeletionList.h"
#include "files/PathHelpers.h"

namespace vexal {

namespace {

constexpr const char* kFileValue = "delete_file";
constexpr const char* kDirValue = "delete_dir";

// Every launcher of the session reads, changes and writes back the same two
// registry values; without a lock two of them starting together lose each
// other's entries. One named mutex serialises all of those steps. The local
// namespace covers every launcher of the logon session, which is where the
// user's hive is shared in practice; it needs no privilege and cannot be
// denied to a second user. A holder that does not let go within the wait
// costs one wait: the rest of the run goes on without the lock, as an
// unserialised launcher would.
constexpr const char* kMutexName = "Local\\vexal-deferred-deletion";
constexpr DWORD kLockWaitMs = 5000;

struct State {
    std::vector<std::string> pendingFiles;
    std::vector<std::string> pendingDirs;
    std::string key = "SOFTWARE\\tarnwellsoft\\vexal\\temp\\";
    bool locking = true;
    KernelHandle mutex;
};

State& state() {
    static State s;
    return s;
}

class ListLock {
public:
    ListLock() {
        State& s = state();
        if (!s.locking) return;
        if (!s.mutex) s.mutex.reset(CreateMutexA(nullptr, FALSE, kMutexName));
        if (!s.mutex) return;
        const DWORD result = WaitForSingleObject(s.mutex.get(), kLockWaitMs);
        // An abandoned mutex belonged to a launcher that ended while holding
        // it; each registry write is whole, so the values are consistent.
        held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        if (result == WAIT_TIMEOUT) s.locking = false;
    }
    ~ListLock() {
        if (held_) ReleaseMutex(state().mutex.get());
    }
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;

private:
    bool held_ = false;
};

// The value as text; empty when it is missing, not a string or does not fit
// the buffer.
std::string readList(HKEY key, const char* valueName) {
    char buffer[kTextBuffer];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ || size > sizeof buffer) {
        return std::string();
    }
    std::string value(buffer, size);
    const std::size_t zero = value.find('\0');
    if (zero != std::string::npos) value.resize(zero);
    return value;
}

// Stored with the string's length: no terminating zero.
void writeList(HKEY key, const char* valueName, const std::string& value) {
    RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                   static_cast<DWORD>(value.size()));
}

// Removal returns false for an entry to be dropped whether or not its path
// still exists.
template <typename Removal>
void cleanUpList(HKEY key, const char* valueName, Removal remove) {
    std::string survivors;
    for (const std::string& path : parseDeletionList(readList(key, valueName))) {
        if (!remove(path)) continue;
        if (pathExists(path)) {
            survivors += path;
            survivors += ';';
        }
    }
    writeList(key, valueName, survivors);
}

// The SIDs that a directory of the user's own is owned by: the user's, and
// the owner that the user's token gives new objects (an elevated run's
// directories belong to the Administrators group). Read once per clean-up.
class UserOwners {
public:
    UserOwners() {
        KernelHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.out())) return;
        unsigned char buffer[512];
        DWORD size = 0;
        if (GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size))
            add(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
        if (GetTokenInformation(token.get(), TokenOwner, buffer, sizeof buffer, &size))
            add(reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner);
    }
    bool owns(PSID owner) const {
        for (const std::vector<unsigned char>& sid : sids_) {
            if (owner != nullptr && EqualSid(owner, const_cast<unsigned char*>(sid.data()))) return true;
        }
        return false;
    }

private:
    void add(PSID sid) {
        const unsigned char* bytes = static_cast<const unsigned char*>(sid);
        sids_.emplace_back(bytes, bytes + GetLengthSid(sid));
    }
    std::vector<std::vector<unsigned char>> sids_;
};

// A directory that the clean-up may reach into: a real directory, not a
// junction or symbolic link (another user may have put one under a listed
// name in a shared temporary directory once the run's own directory was gone,
// pointing at the user's own files), owned by the user. The directory is
// held open, shared for neither deletion nor renaming, while its files are
// worked on, so that it cannot be swapped for a link meanwhile.
class OwnDirectory {
public:
    OwnDirectory(const std::string& path, const UserOwners& owners) : path_(path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        missing_ = attributes == INVALID_FILE_ATTRIBUTES;
        if (missing_ || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
            return;
        handle_.reset(CreateFileA(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
        BY_HANDLE_FILE_INFORMATION information;
        if (!handle_ || !GetFileInformationByHandle(handle_.get(), &information) ||
            (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
            (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return;
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (GetSecurityInfo(handle_.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                            nullptr, &descriptor) != ERROR_SUCCESS)
            return;
        own_ = owners.owns(owner);
        LocalFree(descriptor);
    }
    const std::string& path() const { return path_; }
    bool own() const { return own_; }
    bool missing() const { return missing_; }
    // Lets go of the directory, so that it can be removed.
    void release() { handle_.reset(); }

private:
    std::string path_;
    FileHandle handle_;
    bool own_ = false;
    bool missing_ = false;
};

// The directories looked at in one clean-up, each judged and opened once:
// the files of one extraction directory share it.
class Directories {
public:
    OwnDirectory& at(const std::string& path) {
        for (const std::unique_ptr<OwnDirectory>& directory : seen_) {
            if (directory->path() == path) return *directory;
        }
        seen_.push_back(std::make_unique<OwnDirectory>(path, owners_));
        return *seen_.back();
    }
    // Lets go of a directory that was looked at, if it was.
    void release(const std::string& path) {
        for (const std::unique_ptr<OwnDirectory>& directory : seen_) {
            if (directory->path() == path) directory->release();
        }
    }

private:
    UserOwners owners_;
    std::vector<std::unique_ptr<OwnDirectory>> seen_;
};

// A junction or symbolic link: its attributes are its own, not its target's.
bool isReparsePoint(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Deletes the files directly inside an extraction directory that nobody
// holds: the files of a run whose "delete_file" entries a full list has
// dropped would otherwise stay for good, and their directory with them. A
// directory that is a junction or link is not entered (removing it removes
// the link), and links inside it are not followed.
void deleteUnheldFilesIn(const std::string& directory) {
    if (isReparsePoint(directory)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) continue;
        const std::string path = directory + "\\" + found.cFileName;
        if (canOpenExclusively(path)) DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

const std::string& deletionListKey() { return state().key; }
void setDeletionListKey(const std::string& keyPath) { state().key = keyPath; }
void setDeletionListLocking(bool on) { state().locking = on; }

void rememberTempFile(const std::string& path) { state().pendingFiles.push_back(path); }
void rememberTempDir(const std::string& path) { state().pendingDirs.push_back(path); }

void registerPendingDeletions() {
    for (const std::string& path : state().pendingFiles) addDeleteEntry(path, kFileValue);
    for (const std::string& path : state().pendingDirs) addDeleteEntry(path, kDirValue);
}

// Files this run still holds open cannot be deleted here: the next start's
// clean-up does it.
void deleteTempFilesNow() {}

void addDeleteEntry(const std::string& path, const char* valueName) {
    ListLock lock;
    RegistryKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, state().key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    writeList(key.get(), valueName, appendToDeletionList(readList(key.get(), valueName), path));
}

bool canOpenExclusively(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

void cleanUpDeferredDeletions() {
    ListLock lock;
    RegistryKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, state().key.c_str(), 0, KEY_READ | KEY_WRITE, key.out()) != ERROR_SUCCESS) {
        return;
    }
    // Files first, so that a directory they emptied goes in the same pass. A
    // file is reached only through a directory of the user's own; an entry
    // whose directory is anything else (a link put in its place) is dropped
    // and nothing is deleted through it.
    Directories directories;
    cleanUpList(key.get(), kFileValue, [&directories](const std::string& path) {
        const OwnDirectory& parent = directories.at(parentOf(path));
        if (parent.missing()) return true;
        if (!parent.own()) return false;
        if (canOpenExclusively(path)) DeleteFileA(path.c_str());
        return true;
    });
    cleanUpList(key.get(), kDirValue, [&directories](const std::string& path) {
        if (isExtractionDirectoryPath(path)) {
            if (!pathExists(path)) return true;
            if (!directories.at(path).own()) return false;
            deleteUnheldFilesIn(path);
        }
        directories.release(path);
        RemoveDirectoryA(path.c_str());
        return true;
    });
}

}  // namespace vexal
