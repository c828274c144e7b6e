#include "generator/Build.h"

#include "generator/ExeWriter.h"
#include "generator/ProjectFile.h"
#include "generator/Signing.h"
#include "generator/TextEncoding.h"
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
    result.warnings = project.warnings;
    result.output = chooseOutput(request, project);
    result.stub = chooseStub(request, project);

    for (auto& [name, value] : project.resources.version.strings) {
        if (name == "OriginalFilename" && value.empty()) value = result.output.filename().string();
    }
    ResourceTree resources = buildResourceTree(project.resources);
    std::vector<std::string> included;
    for (const auto& file : project.includes) included.push_back(readFileBytes(file.path));
    std::string bytes = composeExecutable(readFileBytes(result.stub), result.stub.string(), project.arch,
                                          project.store, included, &resources);
    if (project.signing.wanted()) {
        bytes = signExecutable(bytes, project.signing, cp1252ToUtf8(project.applicationName()), result.output);
    }
    writeFileAtomically(result.output, bytes);
    result.size = bytes.size();
    return result;
}

}  // namespace gen
}  // namespace vexal
