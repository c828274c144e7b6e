#pragma once
#include <string>
#include <vector>

namespace vexal {

using ProcessRef = void*;

// Starts the program arguments[0] with the arguments that follow as a
// process with a hidden window, inheriting the launcher's handles,
// environment and current directory; null when it cannot be started. On
// Linux the vector is the program's argument vector as it is: no shell ever
// sees a path, so blanks and shell characters in it are plain characters.
ProcessRef startHiddenProcess(const std::vector<std::string>& arguments);

// Waits without a time-out for the process to end and releases it.
void waitForProcessEnd(ProcessRef process);

}  // namespace vexal
