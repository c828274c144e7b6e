#include "generator/StarterProject.h"

#include "generator/ProjectFile.h"

namespace vexal {
namespace gen {

namespace {

// A TOML basic string.
std::string tomlString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string starterProject(const StarterOptions& options) {
    if (options.mainClass.empty()) throw ProjectError("vexal init: the main class is required (--main-class)");
    if (options.type != "gui" && options.type != "console") {
        throw ProjectError("vexal init: --type: expected \"gui\" or \"console\", found \"" + options.type + "\"");
    }
    if (options.jar.find(';') != std::string::npos) throw ProjectError("vexal init: --jar: a \";\" cannot be part of a class-path item");
    std::string name = options.name;
    if (name.empty()) name = options.mainClass.substr(options.mainClass.find_last_of('.') + 1);
    std::string classPath = options.jar.empty() ? "'D1.\\.'" : tomlString("A1" + options.jar);
    std::string out;
    out += "# Vexal project file. Build the executable with\n"
           "#\n"
           "#     vexal build " "vexal.toml\n"
           "#\n"
           "# `vexal keys` lists every key with its default; docs/project-file.md\n"
           "# describes them. Paths of input files are relative to this file; paths\n"
           "# inside the launcher's settings are relative to the executable.\n\n"
           "# Architecture of the launcher: \"x64\" or \"x86\" (Windows), \"linux-x64\".\n"
           "arch = \"x64\"\n"
           "# The executable to write.\n"
           "output = " + tomlString(name + ".exe") + "\n\n"
           "[application]\n"
           "name = " + tomlString(name) + "\n"
           "# The class whose main method starts the application.\n"
           "main-class = " + tomlString(options.mainClass) + "\n"
           "# Class-path items: A archive, D directory, S directory of archives,\n"
           "# E environment variable; then 1 (required) or 0 (optional); then the path.\n"
           "class-path = [" + classPath + "]\n"
           "# \"gui\": message boxes and javaw.exe; \"console\": standard error and java.exe.\n"
           "type = " + tomlString(options.type) + "\n"
           "# The working directory: \".\" is the executable's directory, empty keeps the\n"
           "# caller's (the default of console programs; GUI programs default to \".\").\n"
           "working-directory = " + (options.type == "console" ? std::string("\"\"") : std::string("\".\"")) + "\n"
           "# The application icon (.ico, all sizes are kept).\n"
           "# icon = \"app.ico\"\n\n"
           "[java]\n"
           "# Accepted versions, compared piece by piece as prefixes, numbers by value:\n"
           "# \"1.8\" accepts 1.8.0_x, \"17\" accepts 17.0.15, and \"11\" is above \"9\".\n"
           "min-version = \"1.8\"\n"
           "max-version = \"\"\n"
           "# Where to look for Java: B bundled runtime directory, E environment\n"
           "# variable, Y registry, S search path, A or R a Java home directory.\n"
           "search-sequence = ['B.\\jre', 'EJAVA_HOME', 'EJDK_HOME', 'Y', 'S']\n"
           "vm-options = [\"-Xmx256m\"]\n\n"
           "[splash]\n"
           "# A .bmp splash screen; its size becomes the window size.\n"
           "# bitmap = \"splash.bmp\"\n\n"
           "[version]\n"
           "file-version = \"1.0.0.0\"\n"
           "# company = \"\"\n"
           "# copyright = \"\"\n\n"
           "[messages]\n"
           "caption = " + tomlString(name) + "\n\n"
           "# Sign the executable (needs osslsigncode):\n"
           "# [signing]\n"
           "# pkcs12 = \"signing.p12\"\n"
           "# password-env = \"SIGNING_PASSWORD\"\n";
    return out;
}

}  // namespace gen
}  // namespace vexal
