#pragma once
#include <string>

namespace vexal {

// The platform's search for a file along the standard executable search
// order (no path, no default extension).
bool searchExecutable(const std::string& fileName, std::string& found);

}  // namespace vexal
