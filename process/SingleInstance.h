#pragma once
#include <string>

namespace vexal {

// Returns when this process is to run the application; ends the process with
// exit code 0 when another instance of the same executable runs.
void enforceSingleInstance(bool consultConfiguration, bool handOver);

// The name of the semaphore that single-instance handling formed; empty when
// it formed none (handling off, or not reached).
const std::string& semaphoreName();

}  // namespace vexal
