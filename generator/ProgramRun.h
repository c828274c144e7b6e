#pragma once
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// Runs a program with arguments and waits for it; no shell sees them. The
// first item is the program: a path, or a name searched on PATH. Its
// standard output and error go to output, its standard input reads
// nothing. Returns the exit code, or -1 when it cannot be started.
int runProgram(const std::vector<std::string>& command, std::string& output);

}  // namespace gen
}  // namespace vexal
