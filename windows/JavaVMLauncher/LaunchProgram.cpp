// The launch itself: the launcher properties, the JVM, the argument layout
// of the runtime launcher class and the JVM's end.
#include "windows/JavaVMLauncher/LaunchProgram.h"

#include "common/Format.h"
#include "common/Limits.h"
#include "common/ProcessId.h"
#include "common/TextCodec.h"
#include "config/CheckedSplitting.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/Extraction.h"
#include "files/PathHelpers.h"
#include "files/TempFiles.h"
#include "process/Environment.h"
#include "process/SingleInstance.h"
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/JvmSession.h"
#include "windows/JavaVMLauncher/SharingArchive.h"
#include "windows/JavaVMLauncher/VmOptionsLogic.h"
#include "windows/JavaVMLauncher/VmOptions.h"

namespace vexal {

namespace {

std::string property(const char* name, const std::string& value) {
    return fitBuffer(format("-D%s=%s", name, value.c_str()), kTextBuffer);
}

// The log path of an enabled log (entry wanted non-zero), else empty.
std::u16string logPathArgument(std::int32_t wanted, std::int32_t fileName) {
    if (configInt(wanted) == 0) return std::u16string();
    return fileCodePageToWide(fitBuffer(absolutePath(configString(fileName), true), kTextBuffer));
}

}  // namespace

std::vector<std::string> launcherProperties() {
    std::vector<std::string> properties;
    if (!semaphoreName().empty()) properties.push_back(property("vexal.semaphoreName", semaphoreName()));
    if (launcherKind() == 'k') properties.push_back(fitBuffer("-Dvexal.isKorvalith=true", kTextBuffer));
    properties.push_back(property("vexal.moduleName", ownExePath()));
    properties.push_back(property("vexal.processCommFile", commFileName(currentProcessId())));
    properties.push_back(property("vexal.tempDir", extractionDir()));
    return properties;
}

void addRuntimeLauncherArguments(ArgumentList& mainArguments) {
    mainArguments.push_back(configInt(id::ExecutableType) == 1 ? u"true" : u"false");
    mainArguments.push_back(ansiToWide(configString(id::MainClass)));
    mainArguments.push_back(logPathArgument(id::ErrorLogWanted, id::ErrorLogFile));
    mainArguments.push_back(logPathArgument(id::DebugLogWanted, id::DebugLogFile));
    mainArguments.push_back(configInt(id::RuntimeFlag) != 0 ? u"true" : u"false");
}

void addProgramArguments(ArgumentList& mainArguments, const ArgumentList& commandLine) {
    if (!commandLine.empty()) mainArguments.push_back(commandLine[0]);
    std::string configured = configString(id::ProgramArguments);
    substituteVariables(configured);
    // splitArguments ends the process with message 1007 on an unclosed quote.
    splitArguments(ansiToWide(fitBuffer(configured, kTextBuffer)), mainArguments);
    const bool dropJ = configInt(id::AllowJArguments) != 0;
    for (std::size_t i = 1; i < commandLine.size(); ++i) {
        if (dropJ && isJArgument(commandLine[i])) continue;
        mainArguments.push_back(commandLine[i]);
    }
}

bool launchProgram(ArgumentList& arguments) {
    logDebug("launching program");
    const std::vector<std::string> properties = launcherProperties();
    if (!createJvm(buildVmOptions(properties, arguments))) {
        logError("could not initialize JVM");
        return false;
    }
    logDebug("JVM created");
    ArgumentList mainArguments;
    addRuntimeLauncherArguments(mainArguments);
    addProgramArguments(mainArguments, arguments);
    const bool mainReturned = callMain(mainArguments);
    if (!mainReturned) logError("could not call main");
    // Also after main threw, as under java: DestroyJavaVM waits for the
    // application's other threads and runs its shutdown hooks, so a window
    // that is up stays up and data are saved before the failure is reported.
    logDebug("dest JVM");
    destroyJvm();
    // DestroyJavaVM has written a new class-data archive by now.
    finishClassDataArchive();
    if (!mainReturned) return false;
    logDebug("launch done");
    return true;
}

}  // namespace vexal
