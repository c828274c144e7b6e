#pragma once
#include <string>
#include <vector>

#include "common/ArgumentSplitting.h"

namespace vexal {

// Creates the JVM, calls main of the runtime launcher class and destroys the
// JVM. False when the JVM could not be created or main could not be called.
bool launchProgram(ArgumentList& arguments);

// The launcher system properties, in order ("-Dvexal.semaphoreName=...",
// "-Dvexal.isKorvalith=true", "-Dvexal.moduleName=...",
// "-Dvexal.processCommFile=...", "-Dvexal.tempDir=...").
std::vector<std::string> launcherProperties();

// The five leading arguments of the runtime launcher class's main.
void addRuntimeLauncherArguments(ArgumentList& mainArguments);

// The arguments of main after the five leading ones: the program token,
// entry 124's arguments, the user's arguments less "-J" ones (entry 125).
void addProgramArguments(ArgumentList& mainArguments, const ArgumentList& commandLine);

// The runtime launcher class every launch calls.
constexpr const char* kRuntimeLauncherClass = "com/vexal/runtime/WinLauncher";

}  // namespace vexal
