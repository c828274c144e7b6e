#pragma once
#include "launcher/Arguments.h"

namespace vexal {

// Creates the JVM, calls main of the runtime launcher class and destroys the
// JVM. False when the JVM could not be created or main could not be called.
bool launchProgram(ArgumentList& arguments, bool destroyVm);

}  // namespace vexal
