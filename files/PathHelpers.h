#pragma once
#include <cstdint>
#include <string>

namespace vexal {

// Path helpers over narrow paths in the code page of the file functions.
// Conversions that would need "?" leave their input unchanged.

// The launcher's own executable: its short (8.3) form, lower case, doubled
// backslashes collapsed. Computed once.
const std::string& ownExePath();

// Full path of the executable's directory, with its trailing backslash.
const std::string& executableDirectory();

// The platform's full path name of `resolveAgainstExeDir(path)`, lower-cased
// unless keepCase, doubled backslashes collapsed.
std::string absolutePath(const std::string& path, bool keepCase);

// executableDirectory() + path for a relative path, else path; then doubled
// backslashes collapsed.
std::string resolveAgainstExeDir(const std::string& path);

// Every non-empty ';'-separated piece resolved, joined by ';' (none after
// the last piece).
std::string resolvePathList(const std::string& list);

// Lower case through a wide copy; unchanged when the result cannot be
// converted back without "?".
std::string toLowerPath(const std::string& path);

// Backslash runs collapsed (the leading pair kept), through a wide copy.
std::string collapseBackslashPath(const std::string& path);

// True for the drive-root spellings "x:\", "x:\.", "x:\.\." without touching
// the disk, else when a directory search finds the path.
bool pathExists(const std::string& path);

// A 64-bit file time as two 32-bit halves, low half first.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

// True when a directory search finds the path; then delivers the entry's
// last-write time when asked for.
bool findFile(const std::string& path, FileTime* lastWriteTime);

// The long form of a path (the platform's GetLongPathNameA when it works,
// else a shell emulation, bound on the first call for the rest of the run).
// Empty when it cannot be had.
std::string longPathName(const std::string& path);

}  // namespace vexal
