#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vexal {

// The registry value format of the deferred deletion lists: every path
// followed by ";", no terminating zero, at most 8191 bytes (the value is
// read into a buffer of 8192 bytes).
constexpr std::size_t kDeletionListLimit = 8191;

// Non-empty paths of a stored value, in order (a last piece without its ";"
// counts too).
std::vector<std::string> parseDeletionList(const std::string& value);

// The value after appending path. When the result would not fit in limit
// bytes, the oldest entries are dropped so that the newest always stay. A
// path that cannot be stored faithfully (empty, holding ";", or longer than
// the limit on its own) leaves the value unchanged.
std::string appendToDeletionList(const std::string& value, const std::string& path,
                                 std::size_t limit = kDeletionListLimit);

// The extraction directory made from a fresh temporary name ("...\vxlXXXX.tmp")
// and a random number: the name, "_dir" and the number as twenty decimal
// digits.
std::string extractionDirectoryPath(const std::string& tempFileName, std::uint64_t number);

// True when the last element of an absolute Windows path is the name of an
// extraction directory: "vxl", one to four hexadecimal digits, ".tmp_dir" and
// twenty decimal digits, or the one to five of older launchers (letters in
// any case). The clean-up pass may
// empty such a directory of the files nobody holds, also of files that a full
// "delete_file" list no longer names; a foreign or damaged entry never takes
// a user's directory with it.
bool isExtractionDirectoryPath(const std::string& path);

// The value of a list of paths (each followed by ";"; empty paths skipped).
std::string formatDeletionList(const std::vector<std::string>& paths);

}  // namespace vexal
