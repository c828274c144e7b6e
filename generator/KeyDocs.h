#pragma once
#include <string>

namespace vexal {
namespace gen {

// The reference of the project file's keys, made from the key table:
// docs/project-file.md is this text.
std::string keysMarkdown();

// A short listing for the terminal: key, id, default.
std::string keysText();

}  // namespace gen
}  // namespace vexal
