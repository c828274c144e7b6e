#include "process/SingleInstance.h"

namespace vexal {

// Single-instance handling is not built yet: every start runs.
void enforceSingleInstance(bool, bool) {}

const std::string& semaphoreName() {
    static const std::string none;
    return none;
}

}  // namespace vexal
