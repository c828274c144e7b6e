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
    const ResourceTree resources = buildResourceTree(project.resources);
    std::vector<fs::path> included;
    for (const auto& file : project.includes) included.push_back(file.path);
    const std::string head = composeExecutable(readFileBytes(result.stub), result.stub.string(), project.arch,
                                               project.store, {}, &resources);
    if (!project.signing.wanted()) {
        result.size = writeExecutable(result.output, head, included);
        return result;
    }
    // The signature covers the finished file, included data and all; the
    // unsigned file is a scratch file, so a failed signing writes nothing.
    fs::path unsigned_ = result.output;
    unsigned_ += ".unsigned-part";
    std::string bytes;
    try {
        writeExecutable(unsigned_, head, included);
        bytes = signExecutable(readFileBytes(unsigned_), project.signing, cp1252ToUtf8(project.applicationName()),
                               result.output);
    } catch (...) {
        std::error_code ec;
        fs::remove(unsigned_, ec);
        throw;
    }
    std::error_code ec;
    fs::remove(unsigned_, ec);
    writeFileAtomically(result.output, bytes);
    result.size = bytes.size();
    return result;
}

}  // namespace gen
}  // namespace vexal
