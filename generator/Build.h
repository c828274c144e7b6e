#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace vexal {
namespace gen {

struct BuildRequest {
    std::filesystem::path projectFile;
    std::filesystem::path output;     // -o; empty: from the project
    std::vector<std::string> overrides;  // --set KEY=VALUE
    std::vector<std::filesystem::path> stubRoots;
};

struct BuildResult {
    std::filesystem::path output;
    std::filesystem::path stub;
    std::size_t size = 0;
    std::vector<std::string> warnings;  // see Project::warnings
};

// Reads the project, picks the stub, composes the executable (resources,
// block, included files), signs it when the project asks for it, and writes it.
// Throws ProjectError or BuildError; on error nothing is written.
BuildResult buildExecutable(const BuildRequest& request);

}  // namespace gen
}  // namespace vexal
