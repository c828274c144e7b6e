#pragma once
#include <cstdio>
#include <filesystem>

namespace vexal {
namespace gen {

// Creates a new file to write an output through before it is renamed into
// place: beside path, under path's name with ".part-" and random characters,
// never through an existing file or a link of that name (the output's
// folder may be a shared one, where another user can plant either), with
// the permissions a new program gets. Returns the open binary stream and
// sets name. Throws BuildError.
std::FILE* createFreshFile(const std::filesystem::path& path, std::filesystem::path& name);

}  // namespace gen
}  // namespace vexal
