#pragma once
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// The program's command-line arguments in UTF-8, the program name first.
// Windows hands main() its arguments in the ANSI code page, so there they are
// taken from the wide command line instead.
std::vector<std::string> programArguments(int argc, char** argv);

// Makes the console show the UTF-8 text that the generator writes (Windows;
// elsewhere nothing to do). The console's own setting comes back at exit.
void prepareTextOutput();

}  // namespace gen
}  // namespace vexal
