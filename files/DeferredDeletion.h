#pragma once
#include <string>

namespace vexal {

// Remember a path of this run for deferred deletion (kept for the whole run).
void rememberTempFile(const std::string& path);
void rememberTempDir(const std::string& path);

// Enters every remembered file, then every remembered directory, in the
// deferred deletion list of the registry. May run more than once.
void registerPendingDeletions();

// Appends one path to one value ("delete_file" or "delete_dir").
void addDeleteEntry(const std::string& path, const char* valueName);

// True when the file can be opened for reading and writing with no sharing.
bool canOpenExclusively(const std::string& path);

// Deletes what earlier runs left behind, where nothing holds it any more;
// files before directories; survivors are written back.
void cleanUpDeferredDeletions();

}  // namespace vexal
