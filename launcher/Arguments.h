#pragma once
#include <string>
#include <vector>

namespace vexal {

// Arguments split from a command-line text; element 0 of the process command
// line is the program name.
using ArgumentList = std::vector<std::u16string>;

// Appends every argument of text to list.
void splitArguments(const std::u16string& text, ArgumentList& list);

}  // namespace vexal
