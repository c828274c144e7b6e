#include "generator/Build.h"

#include <algorithm>
#include <fstream>

#include "common/Sha256.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"

#include "generator/ExeWriter.h"
#include "generator/PathText.h"
#include "generator/KeyTable.h"
#include "generator/ProjectFile.h"
#include "generator/Signing.h"
#include "generator/StubLocator.h"
#include "generator/TextEncoding.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

namespace {

fs::path chooseOutput(const BuildRequest& request, const Project& project) {
    if (!request.output.empty()) return request.output;
    if (!project.output.empty()) return project.output;
    std::string name = cp1252ToUtf8(project.applicationName());
    for (char& c : name) {
        if (c == '/' || c == '\\') c = '_';
    }
    if (name.empty()) name = "application";
    return project.file.parent_path() / pathFromUtf8(isLinuxArch(project.arch) ? name : name + ".exe");
}

fs::path chooseStub(const BuildRequest& request, const Project& project) {
    std::vector<fs::path> tried;
    fs::path stub = findStub(request.stubRoots, project.arch, project.guiStub(), tried);
    if (!stub.empty()) return stub;
    std::string message = "no " + stubFileName(project.guiStub(), project.arch) + " for " + project.arch + " found; looked at:";
    for (const auto& path : tried) message += "\n  " + pathText(path);
    message += "\n(give the stub directory with --stubs DIR or VEXAL_STUB_DIR)";
    throw BuildError(message);
}

const char* const kRuntimeJar = "vexal-runtime.jar";
const char* const kInstallerRuntimeJar = "kvlruntime.jar";

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string lookedAt(const std::vector<fs::path>& tried) {
    std::string text;
    for (const auto& path : tried) text += (text.empty() ? "" : ", ") + pathText(path);
    return text;
}

fs::path findRuntime(const BuildRequest& request, const Project& project, const std::string& name,
                     BuildResult& result) {
    std::vector<fs::path> tried;
    fs::path jar = findRuntimeFile(request.stubRoots, name, tried);
    if (jar.empty()) {
        result.warnings.push_back(pathText(project.file) + ": runtime.include: no " + name +
                                  " beside the stubs (looked at " + lookedAt(tried) + "); the executable starts only "
                                  "when its class path brings the runtime");
    }
    return jar;
}

// The launcher's Java runtime goes in as an included file, so the class path
// finds it in the extraction directory. A file of the same name that the
// project includes itself is taken instead.
void includeRuntime(const BuildRequest& request, Project& project, BuildResult& result) {
    if (!project.includeRuntime) return;
    for (const auto& file : project.includes) {
        if (lowerAscii(file.name) == kRuntimeJar) return;
    }
    fs::path jar = findRuntime(request, project, kRuntimeJar, result);
    if (!jar.empty()) addIncludedFile(project, {jar, kRuntimeJar});
}

bool isWindowsAbsolute(const std::string& path) {
    bool drive = path.size() >= 2 && path[1] == ':' &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// Where an installer-kind launcher looks for kvlruntime.jar: .korvalith under
// the installation root (entry 10003, relative to the executable's
// directory). Empty when the project does not want it or the root is absolute
// (a place on the target machine, not beside the output).
fs::path installerRuntimeTarget(const Project& project, const fs::path& output, BuildResult& result) {
    if (!project.includeRuntime || lowerAscii(project.store.narrow(id::LauncherKind)).compare(0, 1, "k") != 0)
        return fs::path();
    std::string root = project.store.narrow(id::InstallRoot);
    if (isWindowsAbsolute(root)) {
        result.warnings.push_back(pathText(project.file) + ": application.install-root: \"" + root +
                                  "\" is absolute, so " + kInstallerRuntimeJar +
                                  " is not laid out; put it in .korvalith under that directory when installing");
        return fs::path();
    }
    for (char& c : root) {
        if (c == '\\') c = '/';
    }
    fs::path dir = output.parent_path();
    if (!root.empty()) dir /= pathFromUtf8(cp1252ToUtf8(root));
    return (dir / ".korvalith" / kInstallerRuntimeJar).lexically_normal();
}

void layOutInstallerRuntime(const fs::path& jar, const fs::path& target) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (!ec) fs::copy_file(jar, target, fs::copy_options::overwrite_existing, ec);
    if (ec) throw BuildError("cannot copy " + pathText(jar) + " to " + pathText(target) + ": " + ec.message());
}

// With class-data sharing on, the launcher takes the included files from a
// place in the user's cache named by their SHA-256 (names, sizes and data in
// order), which the block carries in entry 2004.
void storeIncludedFilesDigest(Project& project) {
    if (project.includes.empty() || project.store.narrow(id::ClassDataSharing) != "auto") return;
    Sha256 hash;
    std::vector<char> buffer(1 << 20);
    for (const auto& file : project.includes) {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file.path, ec);
        if (ec) throw BuildError("cannot read " + file.path.string() + ": " + ec.message());
        const std::string head = file.name + '\0' + std::to_string(size) + '\0';
        hash.update(head);
        std::ifstream in(file.path, std::ios::binary);
        std::uintmax_t done = 0;
        while (in && done < size) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            const std::streamsize n = in.gcount();
            if (n <= 0) break;
            hash.update(buffer.data(), static_cast<std::size_t>(n));
            done += static_cast<std::uintmax_t>(n);
        }
        if (done != size) throw BuildError("cannot read " + file.path.string());
    }
    project.store.setNarrow(id::IncludedFilesDigest, hash.hexDigest());
}

}  // namespace

// An ELF executable has no resources: icon, manifest and version record are
// left out, said once when the project asks for any of them, and there is
// no Authenticode signature to make.
void checkLinuxProject(const Project& project, BuildResult& result) {
    if (!isLinuxArch(project.arch)) return;
    if (project.signing.wanted()) {
        throw BuildError(pathText(project.file) + ": signing: a " + kLinuxArch + " executable cannot be signed");
    }
    std::vector<std::string> keys = project.windowsOnlyKeys;
    if (parseDecimal(project.store.narrow(id::ShowSplash)) != 0 &&
        std::find(keys.begin(), keys.end(), "splash.bitmap") == keys.end()) {
        keys.push_back("splash.show");
    }
    if (keys.empty()) return;
    std::string named;
    for (std::size_t i = 0; i < keys.size(); ++i) named += (i ? ", " : "") + keys[i];
    result.warnings.push_back(pathText(project.file) + ": arch \"" + kLinuxArch + "\": " + named +
                              ": left out; the Linux executable carries no icon, manifest or version record, and "
                              "shows no splash screen");
}

// One project file serves both platforms: its paths are written the Windows
// way ("B.\\jre", "A1lib\\app.jar"), and the Linux launcher reads "/".
void useLinuxPathSeparators(Project& project) {
    if (!isLinuxArch(project.arch)) return;
    const std::int32_t pathEntries[] = {id::ErrorLogFile, id::DebugLogFile, id::ClassPath, id::SearchSequence,
                                        id::WorkingDirectory, id::InstallRoot, id::PathPrefix};
    for (std::int32_t entry : pathEntries) {
        const auto found = project.store.narrowEntries().find(entry);
        if (found == project.store.narrowEntries().end()) continue;
        std::string value = found->second;
        std::replace(value.begin(), value.end(), '\\', '/');
        project.store.setNarrow(entry, value);
    }
}

BuildResult buildExecutable(const BuildRequest& request) {
    Project project = readProject(request.projectFile, request.overrides);
    BuildResult result;
    result.warnings = project.warnings;
    checkLinuxProject(project, result);
    useLinuxPathSeparators(project);
    result.output = chooseOutput(request, project);
    result.stub = chooseStub(request, project);
    includeRuntime(request, project, result);
    storeIncludedFilesDigest(project);
    fs::path kvlTarget = installerRuntimeTarget(project, result.output, result);
    fs::path kvlJar = kvlTarget.empty() ? fs::path() : findRuntime(request, project, kInstallerRuntimeJar, result);
    auto finish = [&] {
        if (kvlJar.empty()) return;
        layOutInstallerRuntime(kvlJar, kvlTarget);
        result.installerRuntime = kvlTarget;
    };

    for (auto& [name, value] : project.resources.version.strings) {
        if (name == "OriginalFilename" && value.empty()) value = pathText(result.output.filename());
    }
    const ResourceTree resources = buildResourceTree(project.resources);
    std::vector<fs::path> included;
    for (const auto& file : project.includes) included.push_back(file.path);
    const std::string head = composeExecutable(readFileBytes(result.stub), pathText(result.stub), project.arch,
                                               project.store, {}, isLinuxArch(project.arch) ? nullptr : &resources);
    if (!project.signing.wanted()) {
        result.size = writeExecutable(result.output, head, included);
        finish();
        return result;
    }
    // The signature covers the finished file, included data and all; the
    // unsigned file is made in the private scratch directory of the signing,
    // so a failed signing writes nothing and nothing lies beside the output.
    std::string bytes;
    {
        SigningScratch scratch;
        const fs::path unsigned_ = scratch.file("built.exe");
        writeExecutable(unsigned_, head, included);
        bytes = signExecutable(readFileBytes(unsigned_), project.signing, cp1252ToUtf8(project.applicationName()),
                               result.output, scratch);
    }
    writeFileAtomically(result.output, bytes);
    result.size = bytes.size();
    finish();
    return result;
}

}  // namespace gen
}  // namespace vexal
