#pragma once
#include <string>

#include "files/PathHelpers.h"

namespace vexal {

// The version in the standard error text of "java -version": the first line
// that is not a "Picked up ..." notice (the runtime prints one first for
// each of JAVA_TOOL_OPTIONS, _JAVA_OPTIONS and JDK_JAVA_OPTIONS) must be a
// banner that parseVersionBanner accepts.
// The banner line counts only as far as lineLimit bytes of it (line end
// included) reach.
bool versionOfProbeOutput(const std::string& output, std::string& version,
                          std::size_t lineLimit = std::string::npos);

// One entry of the per-user version cache: the executable's last-write time
// and the version probed from it. The text is "<16 hex digits>\n<version>\n".
std::string formatCachedVersion(const FileTime& lastWriteTime, const std::string& version);

// The version of an entry whose time equals lastWriteTime in every bit;
// false for another time, a damaged entry or an empty version.
bool parseCachedVersion(const std::string& text, const FileTime& lastWriteTime, std::string& version);

// Search letter Y on Linux: the better of two runtimes that passed the
// bounds. The greater version (piece by piece, numbers by value, as every version comparison) wins;
// of equal versions the one seen first stays.
bool isBetterRuntime(const std::string& version, bool haveBest, const std::string& bestVersion);

}  // namespace vexal
