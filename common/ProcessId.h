#pragma once

namespace vexal {

// The id of the running process.
unsigned long currentProcessId();

}  // namespace vexal
