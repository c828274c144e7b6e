#pragma once
#include <filesystem>
#include <string>

namespace vexal {
namespace gen {

// Writes bytes to a new file that only the user can read (a signing
// password, the executable while it is signed): an existing file or a link
// of that name is never written through. Throws BuildError.
void writePrivateFile(const std::filesystem::path& path, const std::string& bytes);

// Makes a new directory that only the user can enter, under a fresh,
// unpredictable name (prefix and random characters) in the temporary
// directory. Throws BuildError.
std::filesystem::path makePrivateDirectory(const std::string& prefix);

}  // namespace gen
}  // namespace vexal
