// The options the JVM is created with, from the launcher's sources.
#include "windows/JavaVMLauncher/VmOptions.h"

#include "common/Format.h"
#include "common/Limits.h"
#include "config/CheckedSplitting.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/JavaOptionForms.h"
#include "windows/JavaVMLauncher/SharingArchive.h"
#include "windows/JavaVMLauncher/VmOptionsLogic.h"

namespace vexal {

std::FILE* openVmOptionsFile() {
    std::string path = longPathName(ownExePath());
    if (path.size() > kTextBuffer - 1) path.resize(kTextBuffer - 1);
    path += ".vmoptions";
    return std::fopen(path.c_str(), "rt");
}

namespace {

// One source of options with java's two-item forms joined, without what only
// the java command understands (the JVM would ignore it silently); the log
// names what was left out.
std::vector<std::string> inJvmForms(const std::vector<std::string>& options, const char* source) {
    JavaOptionForms forms = reviewJavaOptions(options);
    for (const std::string& option : forms.launcherOnly) {
        logDebug("VM option %s of %s left out: only the java command knows it", option.c_str(), source);
    }
    return forms.options;
}

}  // namespace

std::vector<std::string> buildVmOptions(const std::vector<std::string>& launcherProperties,
                                        const ArgumentList& arguments) {
    std::vector<std::string> lines;
    if (std::FILE* file = openVmOptionsFile()) {
        lines = inJvmForms(readVmOptionsLines(file), "the .vmoptions file");
        std::fclose(file);
    }
    const std::string classPath = buildClassPath();

    std::string parameters = configString(id::VmParameters);
    substituteVariables(parameters);
    NarrowArgumentList vmParameters;
    splitAnsiArguments(parameters, vmParameters);
    vmParameters = inJvmForms(vmParameters, "the configured options");

    std::vector<std::string> jOptions;
    if (configInt(id::AllowJArguments) != 0) jOptions = inJvmForms(jArgumentOptions(arguments), "the -J arguments");

    std::vector<std::string> options = orderVmOptions(launcherProperties, lines, classPath, vmParameters, jOptions);
    addClassDataSharingOptions(options, launcherProperties.size());
    // Last, as java adds it behind the user's options, and out of what a
    // class-data archive is made for: it changes with every argument.
    std::string programArguments = configString(id::ProgramArguments);
    substituteVariables(programArguments);
    options.push_back(fitBuffer(javaCommandProperty(configString(id::MainClass), programArguments, arguments,
                                                    configInt(id::AllowJArguments) != 0),
                                kTextBuffer));
    logDebug("vmoption count %d", static_cast<int>(options.size()));
    for (std::size_t i = 0; i < options.size(); ++i) logDebug("vmoption %d: %s", static_cast<int>(i), options[i].c_str());
    return options;
}

}  // namespace vexal
