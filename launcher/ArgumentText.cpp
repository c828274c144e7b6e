#include "launcher/ArgumentText.h"

namespace vexal {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string argumentTextOf(const std::string& commandLine) {
    const std::size_t n = commandLine.size();
    std::size_t i = 0;
    while (i < n && isBlank(commandLine[i])) ++i;
    if (i < n && commandLine[i] == '"') {
        ++i;
        while (i < n && commandLine[i] != '"') ++i;
        if (i < n) ++i;  // the closing quote
    } else {
        while (i < n && !isBlank(commandLine[i])) ++i;
    }
    while (i < n && isBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

}  // namespace vexal
