#pragma once
#include <cstdint>
#include <string>

namespace vexal {

// Returns when this process is to run the application (also at once when the
// configuration does not ask for a single instance); ends the process with
// exit code 0 when another instance of the same executable runs, after it
// handed that instance handOverText, its arguments.
void enforceSingleInstance(const std::u16string& handOverText);

// The name of the semaphore that single-instance handling formed; empty when
// it formed none (handling off, or not reached).
const std::string& semaphoreName();

// The process id of the instance that runs under this identity. The stored id
// may be missing for a moment (the running instance has just created its
// marker) or still name an earlier instance that has ended: both are waited
// out for up to 1 s; 0 when no running id appears.
std::uint32_t runningInstancePid(const std::string& identity);

}  // namespace vexal
