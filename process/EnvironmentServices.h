#pragma once
#include <string>

namespace vexal {

// Platform services of the environment set-up.

// The whole value of PATH; false when it is not set.
bool readPathVariable(std::string& value);

// Sets PATH in the process environment (children and the library loader
// see it) and in the C runtime's own table (getenv sees it).
void setPathVariable(const std::string& value);

// Changes the current directory; false when the platform refuses.
bool changeCurrentDirectory(const std::string& path);

}  // namespace vexal
