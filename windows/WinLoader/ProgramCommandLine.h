#pragma once
#include <string>
#include <vector>

namespace vexal {

// One argument written so that the argument parsing of a Windows program's
// C runtime gives it back unchanged: as it is when it is not empty and holds
// no blank, tab or double quote; otherwise in double quotes, each double
// quote inside escaped with a backslash and the backslashes in front of a
// double quote, or of the closing one, doubled.
std::string quoteProgramArgument(const std::string& argument);

// The command line that starts a program with these arguments, the program's
// path first: the path always in double quotes (a Windows path holds none,
// and unquoted a path with blanks would be split), the other arguments
// quoted as quoteProgramArgument says, joined by single blanks. The program
// itself is named apart, as the application name, when it is started.
std::string programCommandLine(const std::vector<std::string>& arguments);

}  // namespace vexal
