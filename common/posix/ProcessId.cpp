#include "common/ProcessId.h"

#include <unistd.h>

namespace vexal {

unsigned long currentProcessId() { return static_cast<unsigned long>(getpid()); }

}  // namespace vexal
