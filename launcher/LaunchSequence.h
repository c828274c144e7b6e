#pragma once
#include <string>

namespace vexal {

// The launch, stage by stage, on the main thread. argumentText is the ANSI
// command line without the program name; wideCommandLine the whole wide
// command line. Returns 0 after a normal end; every failure ends the process
// from inside a stage.
int runLaunchSequence(void* instance, const char* argumentText, const std::u16string& wideCommandLine,
                      int showCommand);

// True when the argument text starts with the internal switch that sends
// errors to standard error (prefix match, case-sensitive).
bool hasInternalSwitch(const char* argumentText);

}  // namespace vexal
