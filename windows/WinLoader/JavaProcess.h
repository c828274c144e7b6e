#pragma once
#include <string>

namespace vexal {

// The first file of that name in the absolute directories of PATH, in their
// order (executableSearchDirectories). Neither the launcher's folder nor the
// current directory is searched.
bool searchExecutable(const std::string& fileName, std::string& found);

}  // namespace vexal
