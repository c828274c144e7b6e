// The class path over the launcher's own services: configuration, path
// helpers, the environment and the directory search.
#include "windows/JavaVMLauncher/ClassPath.h"

#include "common/EnvironmentVars.h"
#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "files/Extraction.h"
#include "files/PathHelpers.h"
#include "process/Environment.h"
#include "windows/JavaVMLauncher/ClassPathLogic.h"
#include "windows/JavaVMLauncher/EnvironmentBlock.h"
#include "windows/JavaVMLauncher/VariableSubstitution.h"

namespace vexal {

namespace {

ClassPathServices platformServices() {
    ClassPathServices services;
    services.resolveAgainstExeDir = [](const std::string& path) { return resolveAgainstExeDir(path); };
    services.absolutePath = [](const std::string& path) { return absolutePath(path, false); };
    services.pathExists = [](const std::string& path) { return pathExists(path); };
    services.listArchives = listArchives;
    services.environmentValue = getEnvironmentValue;
    services.substituteVariables = substituteVariables;
    services.style = platformPathStyle();
    return services;
}

ClassPathConfig configuredClassPath() {
    ClassPathConfig config;
    config.extractionDir = extractionDir();
    config.launcherKind = launcherKind();
    config.installRoot = configString(id::InstallRoot);
    config.items = configString(id::ClassPath);
    return config;
}

// Entries left out for want of room are logged; a missing required item
// ends the launch.
void finish(const ClassPathAssembler& assembler) {
    for (const std::string& entry : assembler.dropped())
        logError("class path longer than %u bytes, left out: %s", static_cast<unsigned>(kClassPathLimit),
                 entry.c_str());
    if (assembler.failed()) {
        const ClassPathFailure& failure = assembler.failure();
        fatalError(failure.messageId, failure.placeholder, failure.value);
    }
}

}  // namespace

std::string buildClassPath() {
    std::string classPath = classPathPrefix(platformPathStyle());
    appendClassPathEntries(classPath);
    return finishedClassPath(classPath, platformPathStyle());
}

void appendClassPathEntries(std::string& classPath) {
    ClassPathAssembler assembler(platformServices());
    assembler.appendEntries(classPath, configuredClassPath());
    finish(assembler);
}

void appendRuntimeJar(std::string& classPath) {
    ClassPathAssembler assembler(platformServices());
    assembler.appendRuntimeJar(classPath, launcherKind(), configString(id::InstallRoot));
    finish(assembler);
}

bool appendArchives(std::string& classPath, const std::string& directory, const std::string& extension) {
    ClassPathAssembler assembler(platformServices());
    const bool exists = assembler.appendArchives(classPath, directory, extension);
    finish(assembler);
    return exists;
}

void substituteVariables(std::string& text) {
    LauncherVariables variables;
    variables.exeDir = resolveAgainstExeDir("");
    variables.tempDir = extractionDir();
    variables.listSeparator = std::string(1, platformPathStyle().list);
    substituteVariablesWith(text, variables, environmentBlock());
}

}  // namespace vexal
