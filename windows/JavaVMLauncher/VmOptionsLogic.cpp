// The platform-neutral pieces of the VM option list: the .vmoptions reader,
// the "-J" arguments and the order of the sources.
#include "windows/JavaVMLauncher/VmOptionsLogic.h"

#include <cstring>

#include "common/ArgumentSplitting.h"

namespace vexal {

std::vector<std::string> readVmOptionsLines(std::FILE* stream) {
    std::vector<std::string> lines;
    char buffer[kVmOptionsReadBytes + 1];
    bool previousCut = false;
    while (std::fgets(buffer, sizeof buffer, stream)) {
        std::string line(buffer, std::strlen(buffer));
        const bool cut = line.empty() || (line.back() != '\n');
        // A line of exactly 8191 bytes leaves its line end to the next read;
        // that read ends the line and is no empty option of its own.
        const bool onlyLineEnd = line.find_first_not_of("\r\n") == std::string::npos && !line.empty();
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (!(previousCut && onlyLineEnd)) lines.push_back(line);
        previousCut = cut;
    }
    return lines;
}

bool isJArgument(const std::u16string& argument) { return argument.compare(0, 2, u"-J") == 0; }

std::vector<std::string> jArgumentOptions(const ArgumentList& arguments) {
    std::vector<std::string> options;
    for (const std::u16string& argument : arguments)
        if (isJArgument(argument)) options.push_back(narrowArgument(argument.substr(2)));
    return options;
}

std::string javaCommandProperty(const std::string& mainClass, const std::string& programArguments,
                                const ArgumentList& commandLine, bool dropJ) {
    std::string property = "-Dsun.java.command=" + mainClass;
    if (!programArguments.empty()) property += " " + programArguments;
    for (std::size_t i = 1; i < commandLine.size(); ++i) {
        if (dropJ && isJArgument(commandLine[i])) continue;
        property += " " + narrowArgument(commandLine[i]);
    }
    return property;
}

std::vector<std::string> orderVmOptions(const std::vector<std::string>& launcherProperties,
                                        const std::vector<std::string>& vmOptionsLines, const std::string& classPath,
                                        const std::vector<std::string>& vmParameters,
                                        const std::vector<std::string>& jOptions) {
    std::vector<std::string> options = launcherProperties;
    options.insert(options.end(), vmOptionsLines.begin(), vmOptionsLines.end());
    options.push_back(classPath);
    options.insert(options.end(), vmParameters.begin(), vmParameters.end());
    options.insert(options.end(), jOptions.begin(), jOptions.end());
    return options;
}

}  // namespace vexal
