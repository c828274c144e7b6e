#pragma once
#include <cstdint>
#include <string>

namespace vexal {

// The platform services of single-instance handling.

// Creates the named marker of a running instance and keeps it for the life of
// the process. False when it existed already: another instance runs. A marker
// that cannot be created for another reason counts as created.
bool createInstanceMarker(const std::string& name);

// The process id stored for the identity, or 0 when there is none (key or
// value missing, or not exactly 4 bytes).
std::uint32_t readInstancePid(const std::string& identity);

// Stores this process's id under the identity; failures are silent.
void writeInstancePid(const std::string& identity);

// Whether a process with this id is running now.
bool processRunning(std::uint32_t processId);

// Writes text and a line feed as 16-bit characters, no byte-order mark, to
// path: first to a new file of a fresh name beside it, created exclusively
// (never through a link or into an existing file), then renamed over path,
// so that the reader sees the whole text or nothing. False when it cannot be
// written.
bool writeCommunicationFile(const std::string& path, const std::u16string& text);

void sleepMilliseconds(unsigned milliseconds);

}  // namespace vexal
