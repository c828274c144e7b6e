#include "launcher/LaunchSequence.h"

#include <cstring>

#include "common/ProcessExit.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "files/DeferredDeletion.h"
#include "files/Extraction.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"
#include "process/SingleInstance.h"
#include "splash/Splash.h"
#include "windows/JavaVMLauncher/LaunchProgram.h"
#include "windows/WinLoader/LoadDLL.h"

namespace vexal {

namespace {
constexpr const char* kInternalSwitch = "-q_kvl_internal";
constexpr int kExitNoJvm = 83;
}  // namespace

void registerErrorReportActions() {
    ErrorReportActions actions;
    actions.registerDeletions = registerPendingDeletions;
    actions.beforeErrorShown = hideSplash;
    actions.beforeProcessEnds = deleteTempFilesNow;
    actions.shownLogName = longPathName;
    setErrorReportActions(actions);
}

bool hasInternalSwitch(const char* argumentText) {
    return argumentText != nullptr && std::strncmp(argumentText, kInternalSwitch, std::strlen(kInternalSwitch)) == 0;
}

int runLaunchSequence(const LaunchInput& input) {
    registerErrorReportActions();
    installOutOfMemoryHandler();
    if (hasInternalSwitch(input.argumentText.c_str())) useConsoleErrors();

    prepareEnvironment(input.instance);

    if (!extractIncludedFiles(extractionDir())) internalError(InternalErrorCode::ExtractionFailed);

    enforceSingleInstance(input.handOverText);

    cleanUpDeferredDeletions();

    if (configInt(id::ShowSplash) != 0) startSplash(input.showCommand);

    if (!LoadDLL()) exitLauncher(kExitNoJvm);

    registerPendingDeletions();

    ArgumentList arguments = input.arguments();

    if (!launchProgram(arguments)) fatalError(msg::JvmNotStarted);

    // The JVM is destroyed: what it kept open is closed.
    deleteTempFilesNow();
    return 0;
}

}  // namespace vexal
