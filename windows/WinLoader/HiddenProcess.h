#pragma once
#include <string>
#include <vector>

namespace vexal {

using ProcessRef = void*;

// Starts a program with a hidden window, inheriting the launcher's handles,
// environment and current directory; arguments[0] is the program's path,
// which is run as it is (never looked up, never handed to a shell), and
// every argument reaches the program as one. Null when it cannot be started.
ProcessRef startHiddenProcess(const std::vector<std::string>& arguments);

// Waits without a time-out for the process to end and releases it.
void waitForProcessEnd(ProcessRef process);

}  // namespace vexal
