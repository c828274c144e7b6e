// The options the JVM is created with, from the launcher's sources.
#include "windows/JavaVMLauncher/VmOptions.h"

#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/SharingArchive.h"
#include "windows/JavaVMLauncher/VmOptionLists.h"

namespace vexal {

std::FILE* openVmOptionsFile() {
    std::string path = longPathName(ownExePath());
    if (path.size() > kTextBuffer - 1) path.resize(kTextBuffer - 1);
    path += ".vmoptions";
    return std::fopen(path.c_str(), "rt");
}

std::vector<std::string> buildVmOptions(const std::vector<std::string>& launcherProperties,
                                        const ArgumentList& arguments) {
    std::vector<std::string> lines;
    if (std::FILE* file = openVmOptionsFile()) {
        lines = readVmOptionsLines(file);
        std::fclose(file);
    }
    const std::string classPath = buildClassPath();

    std::string parameters = configString(id::VmParameters);
    substituteVariables(parameters);
    NarrowArgumentList vmParameters;
    splitAnsiArguments(parameters, vmParameters);

    std::vector<std::string> jOptions;
    if (configInt(id::AllowJArguments) != 0) jOptions = jArgumentOptions(arguments);

    std::vector<std::string> options = orderVmOptions(launcherProperties, lines, classPath, vmParameters, jOptions);
    addClassDataSharingOptions(options, launcherProperties.size());
    logDebug("vmoption count %d", static_cast<int>(options.size()));
    for (std::size_t i = 0; i < options.size(); ++i) logDebug("vmoption %d: %s", static_cast<int>(i), options[i].c_str());
    return options;
}

}  // namespace vexal
