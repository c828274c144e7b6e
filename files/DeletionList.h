#pragma once
#include <string>
#include <vector>

namespace vexal {

// The registry value format of the deferred deletion lists: every path
// followed by ";", no terminating zero, at most 8191 bytes.

// Non-empty paths of a stored value, in order.
std::vector<std::string> parseDeletionList(const std::string& value);

// The value after appending path: when the result would not fit in 8191
// bytes, the oldest entries are dropped so that the newest always stay.
std::string appendToDeletionList(const std::string& value, const std::string& path);

// The value of a list of paths (each followed by ";").
std::string formatDeletionList(const std::vector<std::string>& paths);

}  // namespace vexal
