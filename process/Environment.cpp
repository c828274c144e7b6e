#include "process/Environment.h"

#include "config/ConfigIds.h"
#include "config/ConfigLoader.h"
#include "config/ConfigStore.h"

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

void prepareEnvironment(void* instance) {
    loadConfigBlock();
    gInstance = instance;
    readLauncherKind();
    // PATH prefix and working directory arrive with the path helpers.
}

}  // namespace vexal
