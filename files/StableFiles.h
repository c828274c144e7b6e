#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/ByteSource.h"

namespace vexal {

// The included files in a stable place while class-data sharing is on: an
// archive of the application's classes holds only while the class path is
// the same from run to run, and a fresh temporary directory would change it
// on every start. The place is content-addressed, <cache>/files/<digest>/,
// the digest (entry 2004) being the generator's SHA-256 of the included
// files' names and data: a new build with other files gets another place,
// one with the same files shares it. The files there are read-only and are
// never entered for deferred deletion; places unused for 30 days are removed
// when a new one is made.

// True when entry 154 asks for class-data sharing.
bool wantsStableIncludedFiles();

// Puts the included files (records from the executable's current position,
// count and names as for the extraction) in their stable place: found whole
// from an earlier run, or written now into a private directory that is then
// renamed into place (a launch racing this one uses whichever is there
// first). True with directory set to the place; false when it cannot be had
// (no digest, no private cache, a full disk, a read-only cache), with the
// reason logged: the caller then extracts into a fresh directory as usual.
// The executable's position afterwards is unspecified.
bool placeIncludedFilesStably(ByteSource& executable, const std::vector<std::string>& names, std::int32_t count,
                              std::string& directory);

// True when nothing is extracted or the extracted files are in their
// stable place.
bool includedFilesStable();

}  // namespace vexal
