#pragma once
#include <string>

namespace vexal {

// The semaphore name of an executable's identity: the path with every "\"
// turned into "_" (a backslash would name a kernel object directory).
std::string semaphoreNameFromPath(const std::string& path);

// The arguments part of a command line: the program name skipped (quoted as a
// whole when it starts with a double quote), then the space that ends it and
// every space after that. Empty when the name's quote never closes or no
// space follows the name. Only the space character separates.
std::u16string commandLineArguments(const std::u16string& commandLine);

}  // namespace vexal
