#include "generator/ProgramArguments.h"

namespace vexal {
namespace gen {

std::vector<std::string> programArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void prepareTextOutput() {}

}  // namespace gen
}  // namespace vexal
