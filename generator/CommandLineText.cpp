#include "generator/CommandLineText.h"

namespace vexal {
namespace gen {

namespace {

void appendArgument(std::string& line, const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        line += argument;
        return;
    }
    line += '"';
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are plain unless a double quote follows them.
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, '\\');
    line += '"';
}

}  // namespace

std::string windowsCommandLine(const std::vector<std::string>& command) {
    std::string line;
    for (std::size_t i = 0; i < command.size(); ++i) {
        if (i == 0) {
            // The program name is read up to the next double quote: no
            // escapes, and a path holds no double quote.
            line += '"' + command[0] + '"';
            continue;
        }
        line += ' ';
        appendArgument(line, command[i]);
    }
    return line;
}

}  // namespace gen
}  // namespace vexal
