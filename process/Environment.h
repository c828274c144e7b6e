#pragma once

namespace vexal {

// Loads the configuration block, keeps the instance handle, reads the
// launcher kind, prefixes PATH and changes to the working directory.
void prepareEnvironment(void* instance);

// Stores the first character of entry 2001 as the launcher kind.
void readLauncherKind();
char launcherKind();

// Puts the directories of entry 10004 in front of PATH, in the process
// environment and in the C runtime's own table; done even when the entry is
// empty.
void prefixPath();

// Changes to the working directory of entry 146 when it is not empty.
void changeToWorkingDirectory();

// The module instance handle given to the entry point.
void* launcherInstance();

}  // namespace vexal
