// vexal: makes Windows and Linux executables that launch a Java
// application, from a TOML project file and the launcher stubs, and shows
// what such an executable holds.
#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "common/BuildInfo.h"
#include "generator/Build.h"
#include "generator/ExeWriter.h"
#include "generator/HostEnvironment.h"
#include "generator/Inspect.h"
#include "generator/KeyDocs.h"
#include "generator/PathText.h"
#include "generator/ProgramArguments.h"
#include "generator/ProjectFile.h"
#include "generator/StarterProject.h"
#include "generator/StubLocator.h"

namespace {

using namespace vexal;
using namespace vexal::gen;

struct BuildOptions {
    std::string project;
    std::string output;
    std::string stubs;
    std::vector<std::string> overrides;
    bool quiet = false;
};

struct InspectOptions {
    std::string file;
    bool json = false;
};

int runBuild(const BuildOptions& options) {
    BuildRequest request;
    request.projectFile = pathFromUtf8(options.project);
    request.output = pathFromUtf8(options.output);
    request.overrides = options.overrides;
    std::string stubDir;
    const bool stubDirSet = environmentValue("VEXAL_STUB_DIR", stubDir);
    request.stubRoots = stubRoots(options.stubs, stubDirSet ? stubDir.c_str() : nullptr, selfExecutable());
    BuildResult result = buildExecutable(request);
    for (const auto& warning : result.warnings) std::cerr << "vexal: warning: " << warning << "\n";
    if (!options.quiet) {
        std::cout << "wrote " << pathText(result.output) << " (" << result.size << " bytes, stub "
                  << pathText(result.stub) << ")\n";
        if (!result.installerRuntime.empty()) std::cout << "wrote " << pathText(result.installerRuntime) << "\n";
    }
    return 0;
}

int runInspect(const InspectOptions& options) {
    std::string bytes = readFileBytes(pathFromUtf8(options.file));
    Inspection inspection;
    std::string reason;
    if (!inspectExecutable(bytes, inspection, reason)) {
        std::cerr << "vexal: " << options.file << ": " << reason << "\n";
        return 1;
    }
    std::cout << (options.json ? inspectionJson(inspection, options.file) : inspectionText(inspection, options.file));
    return 0;
}

struct InitOptions {
    StarterOptions starter;
    std::string output = "vexal.toml";
    bool force = false;
};

int runInit(const InitOptions& options) {
    std::string text = starterProject(options.starter);
    const std::filesystem::path output = pathFromUtf8(options.output);
    std::error_code ec;
    if (!options.force && std::filesystem::exists(output, ec)) {
        std::cerr << "vexal: " << options.output << ": exists already (--force replaces it)\n";
        return 1;
    }
    writeFileAtomically(output, text);
    std::filesystem::permissions(output, std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::remove, ec);
    std::cout << "wrote " << options.output << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    prepareTextOutput();
    CLI::App app{"vexal " + std::string(projectVersion()) +
                 " - makes Windows and Linux launchers for Java applications",
                 "vexal"};
    app.require_subcommand(0, 1);
    // The same commands on every system: "/x" is a path, never an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "vexal " + std::string(projectVersion()) + " (commit " + sourceCommit() + ")");

    BuildOptions build;
    CLI::App* buildCommand = app.add_subcommand("build", "Write the executable described by a project file");
    buildCommand->add_option("project", build.project, "The TOML project file")->required();
    buildCommand->add_option("-o,--output", build.output, "The executable to write (default: from the project)");
    buildCommand->add_option("--stubs", build.stubs,
                             "A Vexal home, a directory with x64/, x86/ and linux-x64/ stub directories, or a "
                             "build tree (default: VEXAL_STUB_DIR, else beside this program)");
    buildCommand->add_option("--set", build.overrides, "Override a project key: KEY=VALUE (TOML value)")
        ->allow_extra_args(false);
    buildCommand->add_flag("-q,--quiet", build.quiet, "Print nothing on success");

    InspectOptions inspect;
    CLI::App* inspectCommand = app.add_subcommand("inspect", "Show what a generated executable holds");
    inspectCommand->add_option("executable", inspect.file, "The executable")->required();
    inspectCommand->add_flag("--json", inspect.json, "Print JSON");

    InitOptions init;
    CLI::App* initCommand = app.add_subcommand("init", "Write a commented starter project file");
    initCommand->add_option("--main-class", init.starter.mainClass, "The application's main class")->required();
    initCommand->add_option("--jar", init.starter.jar, "The application's archive, beside the executable");
    initCommand->add_option("--name", init.starter.name, "The application's name (default: from the main class)");
    initCommand->add_option("--type", init.starter.type, "\"gui\" (default) or \"console\"");
    initCommand->add_option("-o,--output", init.output, "The project file to write (default: vexal.toml)");
    initCommand->add_flag("--force", init.force, "Replace an existing file");

    bool markdown = false;
    CLI::App* keysCommand = app.add_subcommand("keys", "List the keys of the project file");
    keysCommand->add_flag("--markdown", markdown, "Print the reference document (docs/project-file.md)");

    const std::vector<std::string> arguments = programArguments(argc, argv);
    std::vector<const char*> argumentPointers;
    for (const auto& argument : arguments) argumentPointers.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    try {
        if (*buildCommand) return runBuild(build);
        if (*inspectCommand) return runInspect(inspect);
        if (*initCommand) return runInit(init);
        if (*keysCommand) {
            std::cout << (markdown ? keysMarkdown() : keysText());
            return 0;
        }
        // No command: what there is to do.
        std::cout << app.help();
        return 0;
    } catch (const ProjectError& error) {
        std::cerr << "vexal: " << error.what() << "\n";
    } catch (const BuildError& error) {
        std::cerr << "vexal: " << error.what() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "vexal: " << error.what() << "\n";
    }
    return 1;
}
