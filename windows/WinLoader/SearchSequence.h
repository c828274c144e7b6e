#pragma once
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// One location of the JVM search sequence (entry 128): a type letter and its
// argument ("B.\jre" is letter 'B', argument ".\jre").
struct SearchLocation {
    char letter;
    std::string argument;
};

// The locations of a ';'-separated sequence, empty pieces skipped.
std::vector<SearchLocation> parseSearchSequence(const std::string& sequence);

// The first line of a location file with every trailing CR and LF removed.
std::string trimLineEnd(std::string line);

// Registry key names of the version cache and located-JVM records: a path
// with every backslash turned into a forward slash, and back.
std::string encodeJvmKeyName(const std::string& path);
std::string decodeJvmKeyName(const std::string& name);

// The directory of a Java executable path, trailing separator kept. Windows:
// the last nine characters dropped for "javaw.exe" (case-sensitive), else
// eight. Linux: everything behind the last "/" dropped.
std::string javaExecutableDirectory(const std::string& executable, const PathStyle& style);

// A path written with Windows separators, in the given style ("\" becomes
// the style's directory separator).
std::string styledPath(const std::string& windowsPath, const PathStyle& style);

}  // namespace vexal
