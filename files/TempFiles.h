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

// The process communication file of a process, "vxl_p<pid>.tmp": in the
// platform's temporary path on Windows, in the private per-user directory on
// Linux. Empty when there is no place for it.
std::string commFileName(unsigned long processId);

// What chooseTempDir decides from. Tests give their own (files/TestSeams.h),
// so that the fall-backs can be walked without a temporary path outside the
// ANSI code page or a writable "c:\".
struct TempDirSources {
    std::string tempPath;    // the platform's temporary path
    std::string windowsDir;  // the Windows directory
    std::string driveRoot;   // "c:\": where "temp" and "tmp" are tried
};

// The platform's sources.
TempDirSources platformTempDirSources();

// The decision of chooseTempDir over sources: the temporary path unchanged
// when its long form holds no "?", else the first writable fall-back; empty
// when none is writable.
std::string selectTempDir(const TempDirSources& sources);

// True when dir (with or without its closing separator) is not the
// platform's temporary path that chooseTempDir would take as it is, so one
// of the fall-backs, which other users of the machine share.
bool isSharedTempDir(const std::string& dir);

}  // namespace vexal
