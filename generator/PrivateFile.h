#pragma once
#include <filesystem>
#include <string>

namespace vexal {
namespace gen {

// Writes bytes to a file that only the user can read (a signing password,
// the executable while it is signed). Throws BuildError.
void writePrivateFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace gen
}  // namespace vexal
