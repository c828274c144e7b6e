#include "windows/JavaVMLauncher/LaunchProgram.h"

namespace vexal {

// JVM creation is not built yet.
bool launchProgram(ArgumentList&, bool) { return false; }

}  // namespace vexal
