#include "process/LibrarySearch.h"

namespace vexal {

// The dynamic loader of Linux searches no current directory of its own
// accord: a library names its dependencies' folders itself.
void restrictLibrarySearch() {}
bool librarySearchRestricted() { return false; }
bool addLibrarySearchFolder(const std::string&) { return false; }
void removeLibrarySearchFolder(const std::string&) {}

}  // namespace vexal
