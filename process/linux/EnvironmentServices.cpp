#include "process/EnvironmentServices.h"

#include <unistd.h>

#include <cstdlib>

#include "process/Environment.h"

namespace vexal {

bool readPathVariable(std::string& value) {
    const char* path = std::getenv("PATH");
    value = path != nullptr ? path : "";
    return path != nullptr;
}

// One environment on Linux: the library loader, getenv and children all
// read it.
void setPathVariable(const std::string& value) { setenv("PATH", value.c_str(), 1); }

bool changeCurrentDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

}  // namespace vexal
