#include "files/DeferredDeletion.h"

namespace vexal {

// Interim: until the deletion lists are built, a run remembers nothing and
// registers nothing.
void rememberTempFile(const std::string&) {}
void rememberTempDir(const std::string&) {}
void registerPendingDeletions() {}
void addDeleteEntry(const std::string&, const char*) {}
bool canOpenExclusively(const std::string&) { return false; }
void cleanUpDeferredDeletions() {}

}  // namespace vexal
