#include "launcher/ArgumentJoining.h"

namespace vexal {

std::string quoteArgument(const std::string& argument) {
    const bool hasDouble = argument.find('"') != std::string::npos;
    const bool hasSingle = argument.find('\'') != std::string::npos;
    if (!argument.empty() && !hasDouble && !hasSingle && argument.find(' ') == std::string::npos) return argument;
    if (!hasDouble) return '"' + argument + '"';
    if (!hasSingle) return '\'' + argument + '\'';
    std::string kept;
    for (char c : argument) {
        if (c != '"') kept += c;
    }
    return '"' + kept + '"';
}

std::string joinArguments(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty() || &argument != &arguments.front()) text += ' ';
        text += quoteArgument(argument);
    }
    return text;
}

}  // namespace vexal
