#pragma once
#include <cstdio>
#include <string>

namespace vexal {

// Platform services of the diagnostic log.

// Creates a new log file with a unique name that begins with "kvl_nlog_", in
// the directory of TMP when that names an existing directory, else in the
// platform's fallback directory. Returns the open stream (text mode) and its
// path, or null.
std::FILE* createUniqueLogFile(std::string& path);

// The fixed fallback log path ("c:\kvl_nlog" on Windows).
const char* fallbackLogPath();

// The executable's full module file name, for the header line.
std::string moduleFileName();

}  // namespace vexal
