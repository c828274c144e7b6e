#pragma once
#include <string>
#include <vector>

namespace vexal {

// One argument as it must stand in an argument text so that the launcher's
// splitting rules (a blank separates, double or single quotes group, nothing
// escapes) give it back unchanged: as it is when it holds no blank and no
// quote and is not empty; else in double quotes, or in single quotes when it
// holds a double quote. An argument with both kinds of quote has no exact
// form; it is put in double quotes with its double quotes left out.
std::string quoteArgument(const std::string& argument);

// The arguments quoted and joined by single blanks. On Linux this text only
// serves the internal-switch test and the hand-over to a running instance:
// main gets argv itself, so the lost quotes above never reach it.
std::string joinArguments(const std::vector<std::string>& arguments);

}  // namespace vexal
