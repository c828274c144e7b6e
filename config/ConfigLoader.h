#pragma once
#include <cstdint>
#include <string>

namespace vexal {

constexpr const char* kOpenMediaError =
    "Error opening media file. Please move this file to an ascii-only path like c:\\";

// Reads the block of the executable at exePath (the launcher's own) into the
// process-wide store, records where it ends and switches errors to standard
// error unless entry 107 is 1 or 5. Every failure ends the process with its
// fixed text and exit code 1.
void loadConfigBlock(const std::string& exePath);

// Where the included-file records begin: right after the last wide entry.
std::uint64_t configBlockEnd();

}  // namespace vexal
