#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vexal {

// The file services of the per-user cache (class-data archives and the
// stable place of included files). Paths below the cache come from
// userCacheDirectory, which nobody else can write to.

struct FileFacts {
    bool exists = false;
    bool directory = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds (Windows: 100 ns units), only compared
};

// What the file system says about path, following links as the JVM does.
FileFacts fileFacts(const std::string& path);

// True when the directory holds any entry.
bool directoryHasEntries(const std::string& path);

// The names in a directory (without "." and ".."); none when it cannot be read.
std::vector<std::string> directoryNames(const std::string& dir);

// Creates a new, empty file that nobody else can open (no link followed, an
// existing name refused). False when it cannot be made: the place is not
// writable, the disk is full, the name is taken.
bool createExclusiveFile(const std::string& path);

// The first count bytes of a file (fewer when it is shorter; empty when it
// cannot be read).
std::string readFileHead(const std::string& path, std::size_t count);

// Writes the file's data to the disk, so that a crash after the following
// rename leaves the whole file, not a cut one, under the new name.
bool syncFile(const std::string& path);

// Renames from to to, replacing a file of that name.
bool replaceFile(const std::string& from, const std::string& to);

// Renames the directory from to to; false when to exists.
bool renameDirectory(const std::string& from, const std::string& to);

bool removeFile(const std::string& path);

// Removes path and everything below it, without following links; read-only
// entries included.
bool removeTree(const std::string& path);

// A new directory prefix + a unique suffix, private to the user; empty when
// none can be made.
std::string makeUniqueDirectory(const std::string& prefix);

// The bytes free for the user on the file system of dir (0 when unknown).
std::uint64_t freeSpace(const std::string& dir);

// Sets the last-modified time of path to now.
void touchPath(const std::string& path);

// Makes the file (or directory) read-only for its owner too, so that nothing
// writes into a content-addressed place by mistake.
void makeReadOnly(const std::string& path, bool directory);

// The current time in the unit of FileFacts::modified, and one day in it.
std::int64_t currentFileTime();
std::int64_t fileTimeDays(int days);

}  // namespace vexal
