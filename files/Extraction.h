#pragma once
#include <cstdint>
#include <string>

#include "config/ByteSource.h"
#include "files/IncludedFiles.h"

namespace vexal {

// Path of the directory that holds the extracted files; empty when the
// executable includes none.
std::string& extractionDir();

// Copies the included files (count in entry 2002, names in entry 2003, data
// behind the configuration block) into a fresh directory under the
// temporary directory, whose path it leaves in directory. True when all
// were written or there is nothing to extract; false when the executable's
// data cannot be read. Ends the process with message 1009 and code 7 (no
// directory), 11 (a file cannot be created, or its name would leave the
// directory) or 13 (a write fails).
bool extractIncludedFiles(std::string& directory);

// Writes one record (size, masked data) from the executable's current
// position to path; nothing is created for a size of 0 or less.
bool extractFile(ByteSource& executable, const std::string& path);

// Copies size bytes, logging "ReadFile failed" (false) or "WriteFile failed"
// (then message 1009 with code 13).
bool copyFileData(ByteSource& source, ByteSink& target, std::uint64_t size, bool unscramble);

}  // namespace vexal
