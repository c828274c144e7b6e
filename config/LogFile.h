#pragma once
#include <cstdio>
#include <string>

namespace vexal {

// Platform services of the diagnostic log.

// Creates a new log file with a unique name that begins with "kvl_nlog_", in
// the directory of TMP when that names an existing directory, else (and when
// no file can be made there) in the platform's fallback directory ("/tmp/",
// "c:\"). The file is created exclusively and the stream is made from that
// very handle: an existing file or a planted link is never opened. Returns
// the open stream (text mode) and its path, or null.
std::FILE* createUniqueLogFile(std::string& path);

// Where the log goes when no file could be made: standard error on Linux,
// none on Windows (a GUI process has no standard error to read). A fixed
// name in a shared directory is never used.
std::FILE* fallbackLogStream();

// The executable's full module file name, for the header line.
std::string moduleFileName();

}  // namespace vexal
