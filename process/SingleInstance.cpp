#include "process/SingleInstance.h"

namespace vexal {

// Single-instance handling is not built yet: every start runs.
void enforceSingleInstance(bool, bool) {}

}  // namespace vexal
