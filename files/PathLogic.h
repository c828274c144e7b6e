#pragma once
#include <functional>
#include <string>
#include <vector>

namespace vexal {

// Platform-neutral path rules over narrow texts (Windows path syntax).

// True when the path is shorter than 3 characters; otherwise false for a
// drive path ("x:\...") or a network path ("\\..."), true for anything else.
// A path that begins with a double quote is tested one character further on;
// a quoted path of at most 3 characters counts as relative.
bool isRelativePath(const std::string& path);

// Every run of backslashes becomes one backslash, except that the first two
// characters are always kept (the leading pair of a network path survives).
std::u16string collapseBackslashes(const std::u16string& path);

// exeDir + path when path is relative, else path (backslashes not yet collapsed).
std::string joinToExeDir(const std::string& exeDir, const std::string& path);

// True when the path, after its first character, is exactly ":\", ":\." or
// ":\.\." (a drive root in one of three spellings).
bool isDriveRootSpelling(const std::string& path);

// The non-empty pieces of a ';'-separated list, in order.
std::vector<std::string> splitList(const std::string& list, char separator = ';');

// Every non-empty piece of a ';'-separated list passed through resolve, the
// results joined by ';' with none after the last.
std::string mapPathList(const std::string& list, const std::function<std::string(const std::string&)>& resolve);

// True when the path is at least 4 characters long and ends in ".exe",
// ignoring case.
bool hasExeSuffix(const std::string& path);

}  // namespace vexal
