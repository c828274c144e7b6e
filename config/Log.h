#pragma once
#include <string>

namespace vexal {

// Diagnostic log, on when "VEXAL_LOG" or "KORVALITH_LOG" is exactly "yes".
// Opened lazily at the first line; every line is flushed at once.
void logDebug(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void logError(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The log file's path, or null while logging is off or before the first line.
const char* logFileName();

}  // namespace vexal
