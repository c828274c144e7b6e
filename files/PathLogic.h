#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// Platform-neutral path rules over narrow texts. The functions without a
// style follow the Windows path syntax; the overloads with one follow the
// style given (the launcher passes platformPathStyle()).

// True when the path is shorter than 3 characters; otherwise false for a
// drive path ("x:\...") or a network path ("\\..."), true for anything else.
// A path that begins with a double quote is tested one character further on;
// a quoted path of at most 3 characters counts as relative.
bool isRelativePath(const std::string& path);

// In the Linux style a path is relative unless it begins with "/" (after a
// leading double quote, which is skipped as above).
bool isRelativePath(const std::string& path, const PathStyle& style);

// Every run of backslashes becomes one backslash, except that the first two
// characters are always kept (the leading pair of a network path survives).
std::u16string collapseBackslashes(const std::u16string& path);

// exeDir + path when path is relative, else path (backslashes not yet collapsed).
std::string joinToExeDir(const std::string& exeDir, const std::string& path);

// exeDir + path when path is relative in the style, else path.
std::string joinToExeDir(const std::string& exeDir, const std::string& path, const PathStyle& style);

// Every run of the style's directory separator becomes one (the Linux
// style keeps no leading pair).
std::string collapseSeparators(const std::string& path);

// An absolute Linux path with ".", ".." and repeated "/" taken out without
// touching the disk (".." at the root stays at the root); a trailing "/"
// stays. A relative path is returned unchanged.
std::string normalizeLinuxPath(const std::string& path);

// True when the path, after its first character, is exactly ":\", ":\." or
// ":\.\." (a drive root in one of three spellings).
bool isDriveRootSpelling(const std::string& path);

// The non-empty pieces of a ';'-separated list, in order.
std::vector<std::string> splitList(const std::string& list, char separator = ';');

// The directories of a PATH value that an executable search looks in, in
// order. Linux: the pieces between colons that begin with "/". Windows: the
// pieces between semicolons outside double quotes, the quotes removed, that
// name a drive path ("x:\" or "x:/") or a network path; a blank or tab on
// either side of a piece is dropped. Empty and relative pieces are left out:
// they would make the search look under the current directory.
std::vector<std::string> executableSearchDirectories(const std::string& pathValue, const PathStyle& style);

// Every non-empty piece of a ';'-separated list passed through resolve, the
// results joined by ';' with none after the last.
std::string mapPathList(const std::string& list, const std::function<std::string(const std::string&)>& resolve);
std::string mapPathList(const std::string& list, const std::function<std::string(const std::string&)>& resolve,
                        const PathStyle& style);

// True when the path is at least 4 characters long and ends in ".exe",
// ignoring case.
bool hasExeSuffix(const std::string& path);

}  // namespace vexal
