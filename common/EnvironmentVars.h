#pragma once
#include <string>

namespace vexal {

// Reads an environment variable of the process. True when the variable
// exists (its value may be empty); value holds at most 8191 bytes.
bool getEnvironmentValue(const std::string& name, std::string& value);

}  // namespace vexal
