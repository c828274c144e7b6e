#pragma once
#include "launcher/LaunchInput.h"

namespace vexal {

// The launch, stage by stage, on the main thread. Returns 0 after a normal
// end; every failure ends the process from inside a stage.
int runLaunchSequence(const LaunchInput& input);

// Registers with the error reporting what an error does to this run's files
// and splash: deletions registered and the splash hidden before a message,
// temporary files deleted before the process ends. The launch does it first.
void registerErrorReportActions();

// True when the argument text starts with the internal switch that sends
// errors to standard error (prefix match, case-sensitive).
bool hasInternalSwitch(const char* argumentText);

}  // namespace vexal
