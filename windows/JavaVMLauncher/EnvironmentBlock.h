#pragma once
#include <string>
#include <vector>

namespace vexal {

// The entries of the process environment block ("NAME=value", narrow), in
// the order of the block.
std::vector<std::string> environmentBlock();

}  // namespace vexal
