#pragma once
#include <string>

namespace vexal {

using ProcessRef = void*;

// Starts a command line as a process with a hidden window, inheriting the
// launcher's handles, environment and current directory; null when it cannot
// be started.
ProcessRef startHiddenProcess(const std::string& commandLine);

// Waits without a time-out for the process to end and releases it.
void waitForProcessEnd(ProcessRef process);

}  // namespace vexal
