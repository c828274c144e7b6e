#pragma once
#include <string>

namespace vexal {

// Where the process looks for a library loaded by name and for the libraries
// that a loaded library needs.

// Called first at start-up. From then on only System32 and the folders added
// through addLibrarySearchFolder are searched: not the current directory,
// not the launcher's folder, not PATH. Where the system lacks the service
// for it (Windows before 8 without its update), the current directory at
// least is taken out of the search. Nothing on Linux.
void restrictLibrarySearch();

// True when restrictLibrarySearch has limited the search to System32 and
// the added folders.
bool librarySearchRestricted();

// Adds an absolute folder to those searched for the rest of the run (once;
// a folder that is missing is ignored). True when it was added or already
// was; false where the search is not restricted.
bool addLibrarySearchFolder(const std::string& folder);

// Takes a folder added here out of the search again.
void removeLibrarySearchFolder(const std::string& folder);

}  // namespace vexal
