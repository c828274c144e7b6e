#include "generator/Build.h"

#include "generator/ExeWriter.h"
#include "generator/ProjectFile.h"
#include "generator/StubLocator.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

namespace {

fs::path chooseOutput(const BuildRequest& request, const Project& project) {
    if (!request.output.empty()) return request.output;
    if (!project.output.empty()) return project.output;
    std::string name = project.applicationName();
    for (char& c : name) {
        if (c == '/' || c == '\\') c = '_';
    }
    return project.file.parent_path() / ((name.empty() ? std::string("application") : name) + ".exe");
}

fs::path chooseStub(const BuildRequest& request, const Project& project) {
    std::vector<fs::path> tried;
    fs::path stub = findStub(request.stubRoots, project.arch, project.guiStub(), tried);
    if (!stub.empty()) return stub;
    std::string message = "no " + stubFileName(project.guiStub()) + " for " + project.arch + " found; looked at:";
    for (const auto& path : tried) message += "\n  " + path.string();
    message += "\n(give the stub directory with --stubs DIR or VEXAL_STUB_DIR)";
    throw BuildError(message);
}

}  // namespace

BuildResult buildExecutable(const BuildRequest& request) {
    Project project = readProject(request.projectFile, request.overrides);
    BuildResult result;
    result.output = chooseOutput(request, project);
    result.stub = chooseStub(request, project);

    std::vector<fs::path> included;
    for (const auto& file : project.includes) included.push_back(file.path);
    const std::string head =
        composeExecutable(readFileBytes(result.stub), result.stub.string(), project.arch, project.store, {});
    result.size = writeExecutable(result.output, head, included);
    return result;
}

}  // namespace gen
}  // namespace vexal
