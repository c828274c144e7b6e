#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "generator/AppResources.h"

namespace vexal {
namespace gen {

// A project-file problem, told with the file, the line when known, the key
// and the reason: "app.toml:12: java.min-version: expected a string, found
// a floating-point number".
class ProjectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How the finished executable is signed; no certificate: not signed.
struct SigningOptions {
    std::filesystem::path pkcs12;
    std::filesystem::path certificate;
    std::filesystem::path key;
    std::string passwordEnv;
    std::string timestampUrl;
    std::string tool;         // signing.tool: an absolute path, or a name looked up on PATH; empty: the default
    std::string signingTime;  // Unix time recorded in the signature; empty: now

    bool wanted() const { return !pkcs12.empty() || !certificate.empty(); }
};

struct IncludedFile {
    std::filesystem::path path;  // where the generator reads it
    std::string name;            // the plain file name it is extracted under
};

// What a project file asks for: the entries of the configuration block and
// the options of the executable around it.
struct Project {
    std::filesystem::path file;
    ConfigStore store;
    std::string arch = "x64";       // "x64" or "x86"
    std::string subsystem;          // "gui", "console"; empty: from entry 107
    std::filesystem::path output;   // empty: not given in the project file
    std::vector<IncludedFile> includes;
    ResourceRequest resources;
    SigningOptions signing;
    bool includeRuntime = true;     // runtime.include
    // Keys given for what only a Windows executable carries (icon, splash
    // screen, version record, manifest), in the order read.
    std::vector<std::string> windowsOnlyKeys;
    // Settings the launcher accepts but that are likely not what was meant,
    // told like errors ("app.toml:3: java.min-version: ...").
    std::vector<std::string> warnings;

    bool guiStub() const;           // subsystem "gui", else entry 107 is 1 or 5
    std::string applicationName() const;
};

// Adds a file to the included files and updates the entries that list them
// (2002, 2003). Throws ProjectError when the names grow too long for the
// launcher.
void addIncludedFile(Project& project, IncludedFile file);

// Reads a project file. overrides are "key = value" lines in TOML syntax
// (from the command line) that replace or add values of the file. Throws
// ProjectError.
Project readProject(const std::filesystem::path& file, const std::vector<std::string>& overrides = {});

// The same from text in memory; file names the source in messages and
// anchors relative paths.
Project parseProject(const std::string& text, const std::filesystem::path& file,
                     const std::vector<std::string>& overrides = {});

}  // namespace gen
}  // namespace vexal
