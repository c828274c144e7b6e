#include "common/ProcessId.h"

#include <windows.h>

namespace vexal {

unsigned long currentProcessId() { return GetCurrentProcessId(); }

}  // namespace vexal
