#pragma once
#include <string>

namespace vexal {

// The launcher's per-user cache: class-data archives and, while class-data
// sharing is on, the included files in their content-addressed place.
// Linux: $XDG_CACHE_HOME/vexal/ (an absolute XDG_CACHE_HOME), else
// ~/.cache/vexal/. Windows: %LOCALAPPDATA%\vexal\.
//
// Private to the user: created 0700 (Windows: an access list for the user
// alone) where missing, and refused when it is not: owned by someone else,
// a link or reparse point, open to other users, or (Linux) below a folder
// that another user may change. Nobody else can then plant an archive or a
// jar in it, and paths below it may be handed to the JVM as they are.

// The cache directory with its trailing separator; empty when it cannot be
// had, with the reason in problem. Decided once per process.
std::string userCacheDirectory(std::string& problem);

// <cache>/<name>/, created private where missing; empty on failure, with
// the reason in problem.
std::string userCacheSubdirectory(const char* name, std::string& problem);

// Where the cache is: the rules above over the given environment values, with
// a trailing separator; empty when they give no absolute path.
std::string linuxCacheDirectoryFrom(const std::string& xdgCacheHome, const std::string& home);
std::string windowsCacheDirectoryFrom(const std::string& localAppData, const std::string& userProfile);

}  // namespace vexal
