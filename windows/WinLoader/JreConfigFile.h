#pragma once
#include <string>

namespace vexal {

// Reads the first line of a location file under the installation root
// (entry 10003): root + suffix, at most 8191 bytes, every trailing CR and LF
// removed. False when the file is missing, unreadable or empty.
bool readJreConfigFile(std::string& line, const char* suffix);

}  // namespace vexal
