#include "files/CacheFiles.h"

#include <windows.h>

#include "common/win32/Handle.h"

namespace vexal {

namespace {

constexpr std::int64_t kFileTimeDay = 864000000000ll;  // 100 ns units

std::int64_t fileTimeValue(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::string withoutSeparator(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

FileFacts fileFacts(const std::string& path) {
    FileFacts facts;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(withoutSeparator(path).c_str(), GetFileExInfoStandard, &data)) return facts;
    facts.exists = true;
    facts.directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    facts.modified = fileTimeValue(data.ftLastWriteTime);
    return facts;
}

std::vector<std::string> directoryNames(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((withoutSeparator(dir) + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool directoryHasEntries(const std::string& path) { return !directoryNames(path).empty(); }

bool createExclusiveFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::string readFileHead(const std::string& path, std::size_t count) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return std::string();
    std::string head(count, '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), &head[0], static_cast<DWORD>(count), &read, nullptr)) read = 0;
    head.resize(read);
    return head;
}

// The JVM makes its archives read-only, which a handle for writing (and so
// FlushFileBuffers) cannot get past; the rename below writes through.
bool syncFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) FlushFileBuffers(file.get());
    return true;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool renameDirectory(const std::string& from, const std::string& to) {
    return MoveFileExA(withoutSeparator(from).c_str(), withoutSeparator(to).c_str(), 0) != 0;
}

bool removeFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) != 0;
}

bool removeTree(const std::string& path) {
    const std::string dir = withoutSeparator(path);
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return removeFile(dir);
    // A reparse point goes by itself; what it points to stays.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        for (const std::string& name : directoryNames(dir)) removeTree(dir + "\\" + name);
    }
    SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_DIRECTORY);
    return RemoveDirectoryA(dir.c_str()) != 0;
}

std::string makeUniqueDirectory(const std::string& prefix) {
    unsigned long value = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        value = value * 1103515245u + 12345u;
        char suffix[16];
        wsprintfA(suffix, "%08lx", value);
        const std::string name = prefix + suffix;
        if (CreateDirectoryA(name.c_str(), nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::string();
}

std::uint64_t freeSpace(const std::string& dir) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(dir.c_str(), &available, nullptr, nullptr)) return 0;
    return available.QuadPart;
}

void touchPath(const std::string& path) {
    FileHandle file(CreateFileA(withoutSeparator(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(file.get(), nullptr, nullptr, &now);
}

void makeReadOnly(const std::string& path, bool directory) {
    // A read-only attribute means nothing to a folder.
    if (!directory) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

std::int64_t currentFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return fileTimeValue(now);
}

std::int64_t fileTimeDays(int days) { return kFileTimeDay * days; }

}  // namespace vexal
