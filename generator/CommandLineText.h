#pragma once
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// The Windows command line that gives a program these arguments back when
// the Microsoft C runtime splits it (the rules of CommandLineToArgvW): the
// program path in double quotes, then every argument as it is when it holds
// no blank, tab, line break or double quote and is not empty, else in double
// quotes with its double quotes, and the backslashes before them or before
// the closing quote, escaped.
std::string windowsCommandLine(const std::vector<std::string>& command);

}  // namespace gen
}  // namespace vexal
