#pragma once
#include <string>

namespace vexal {

// The launcher's own executable path (cached after the first call).
const std::string& ownExePath();

// The long form of a path, or the empty string when it cannot be had.
std::string longPathName(const std::string& path);

}  // namespace vexal
