#include "process/InstanceIdentity.h"

namespace vexal {

std::string semaphoreNameFromPath(const std::string& path) {
    std::string name = path;
    for (char& c : name) {
        if (c == '\\') c = '_';
    }
    return name;
}

std::u16string commandLineArguments(const std::u16string& commandLine) {
    std::size_t from = 0;
    if (!commandLine.empty() && commandLine[0] == u'"') {
        from = commandLine.find(u'"', 1);
        if (from == std::u16string::npos) return {};
    }
    std::size_t space = commandLine.find(u' ', from);
    if (space == std::u16string::npos) return {};
    std::size_t start = commandLine.find_first_not_of(u' ', space);
    if (start == std::u16string::npos) return {};
    return commandLine.substr(start);
}

}  // namespace vexal
