#pragma once
#include <filesystem>
#include <string>

namespace vexal {
namespace gen {

// Paths to and from UTF-8 text. Project files, the command line and the
// generator's messages are UTF-8 on every system, while Windows names files
// in UTF-16: a path made from, or shown as, a plain narrow string would go
// through the ANSI code page there and lose every character outside it.
std::filesystem::path pathFromUtf8(const std::string& text);
std::string pathText(const std::filesystem::path& path);

}  // namespace gen
}  // namespace vexal
