#pragma once

namespace vexal {

// Loads the configuration block, keeps the instance handle, reads the
// launcher kind, prefixes PATH and changes to the working directory.
void prepareEnvironment(void* instance);

// Stores the first character of entry 2001 as the launcher kind.
void readLauncherKind();
char launcherKind();

// The module instance handle given to the entry point.
void* launcherInstance();

}  // namespace vexal
