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
    std::filesystem::path installerRuntime;  // kvlruntime.jar laid out for kind "k"; empty: none
};

// Reads the project, picks the stub, composes the executable (resources,
// block, included files, the Java runtime unless runtime.include is off),
// signs it when the project asks for it, and writes it. For launcher kind
// "k" it then copies kvlruntime.jar to .korvalith/ under the installation
// root beside the output. Throws ProjectError or BuildError; on error
// nothing is written (only a failed copy of kvlruntime.jar leaves the
// written executable).
BuildResult buildExecutable(const BuildRequest& request);

}  // namespace gen
}  // namespace vexal
