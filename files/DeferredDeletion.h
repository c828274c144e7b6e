#pragma once
#include <string>

namespace vexal {

// Remember a path of this run for deferred deletion (kept for the whole run).
void rememberTempFile(const std::string& path);
void rememberTempDir(const std::string& path);

// Enters every remembered file, then every remembered directory, in the
// deferred deletion list of the registry. May run more than once.
void registerPendingDeletions();

// Deletes this run's remembered files and directories now and takes them
// off the list, where the platform lets open files go (Linux: at the end of
// a run and on every error exit). On Windows the files may still be open:
// nothing happens and the next start's clean-up deletes them.
void deleteTempFilesNow();

// Appends one path to one value ("delete_file" or "delete_dir").
void addDeleteEntry(const std::string& path, const char* valueName);

// True when the file can be opened for reading and writing with no sharing.
bool canOpenExclusively(const std::string& path);

// Deletes what earlier runs left behind, where nothing holds it any more;
// files before directories; survivors are written back.
void cleanUpDeferredDeletions();

// The key of the lists below the current user's hive, with its trailing
// backslash. Tests move the lists to a key of their own, away from the
// launchers that run beside them, and may switch off the cross-process lock
// around the lists' read-modify-write steps.
const std::string& deletionListKey();
void setDeletionListKey(const std::string& keyPath);
void setDeletionListLocking(bool on);

}  // namespace vexal
