#pragma once
#include <string>

namespace vexal {

// The temporary directory to use: the platform's temporary path as it is,
// unless its long form holds characters outside the ANSI code page; then the
// first writable of the fall-backs. Ends the process with the fixed
// Poweruser message when none is writable.
std::string chooseTempDir();

// True when a probe directory can be created inside dir.
bool isWritableDir(const std::string& dir);

// Creates a fresh empty file with the prefix "vxl" in chooseTempDir() and
// returns its full path.
std::string createTempFileName();

// "<platform temporary path>vxl_p<pid>.tmp": the process communication file.
std::string commFileName(unsigned long processId);

}  // namespace vexal
