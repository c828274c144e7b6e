#include "process/Environment.h"

#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ConfigLoader.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "files/PathLogic.h"
#include "process/EnvironmentServices.h"
#include "process/LibrarySearch.h"
#include "process/PathVariable.h"

namespace vexal {

namespace {
char gLauncherKind = '\0';
void* gInstance = nullptr;
}  // namespace

char launcherKind() { return gLauncherKind; }
void* launcherInstance() { return gInstance; }

void readLauncherKind() {
    std::string kind = configString(id::LauncherKind, kKindBuffer);
    gLauncherKind = kind.empty() ? '\0' : kind[0];
}

void prefixPath() {
    const std::string list = resolvePathList(configString(id::PathPrefix));
    std::string oldPath;
    readPathVariable(oldPath);
    const PathValue path = composePathValue(list, oldPath, platformPathStyle());
    if (path.cut) logError("PATH too long: entries of the previous value left out");
    if (!list.empty()) logDebug("PATH: %s", path.value.c_str());
    // Set even when nothing is prefixed: the C runtime's table then agrees
    // with the process environment.
    setPathVariable(path.value);
    // The library loader no longer searches PATH; the prefixed folders are
    // there for the application's native libraries, so they are searched.
    for (const std::string& folder : splitList(list, platformPathStyle().list)) addLibrarySearchFolder(folder);
}

void changeToWorkingDirectory() {
    const std::string configured = configString(id::WorkingDirectory);
    if (configured.empty()) return;
    const std::string directory = absolutePath(configured, false);
    if (changeCurrentDirectory(directory)) {
        logDebug("Working directory: %s", directory.c_str());
    } else {
        // Not a reason to stop: the application runs where it was started.
        logError("Could not change to the working directory %s", directory.c_str());
    }
}

void prepareEnvironment(void* instance) {
    loadConfigBlock(ownExePath());
    gInstance = instance;
    readLauncherKind();
    prefixPath();
    changeToWorkingDirectory();
}

}  // namespace vexal
