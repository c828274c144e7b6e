#pragma once

namespace vexal {

// Returns when this process is to run the application; ends the process with
// exit code 0 when another instance of the same executable runs.
void enforceSingleInstance(bool consultConfiguration, bool handOver);

}  // namespace vexal
