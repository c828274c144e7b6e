#include "generator/Signing.h"

#include <algorithm>
#include <system_error>

#include "generator/ExeWriter.h"
#include "generator/HostEnvironment.h"
#include "generator/PathText.h"
#include "generator/PrivateFile.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

SigningScratch::SigningScratch() : path_(makePrivateDirectory("vexal-sign-")) {}

SigningScratch::~SigningScratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);  // never follows a link
}

namespace {

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

const char* toolName(SigningToolKind kind) { return kind == SigningToolKind::Signtool ? "signtool" : "osslsigncode"; }

// signing.tool: a path (made absolute by the project reader) or a name.
SigningTool projectTool(const std::string& tool) {
    fs::path program = pathFromUtf8(tool);
    if (!program.is_absolute()) program = findProgramOnPath(tool);
    std::error_code ec;
    if (!program.empty() && !fs::is_regular_file(program, ec)) program.clear();
    return {program, signingToolKind(pathFromUtf8(tool))};
}

std::string missingToolMessage(const SigningOptions& options) {
    if (!options.tool.empty()) {
        return "signing.tool: \"" + options.tool + "\" is not there" +
               (pathFromUtf8(options.tool).is_absolute() ? "" : " (looked on PATH)");
    }
    return "signing needs osslsigncode (Debian package osslsigncode) or Microsoft's signtool, and neither was "
           "found on PATH; name one with signing.tool (or VEXAL_OSSLSIGNCODE)";
}

std::string trimmedLog(std::string log) {
    while (!log.empty() && (log.back() == '\n' || log.back() == '\r')) log.pop_back();
    return log;
}

void runSigningTool(const std::vector<std::string>& command, SigningToolKind kind, const fs::path& target) {
    std::string log;
    int code = runProgram(command, log);
    if (code != 0) {
        log = trimmedLog(log);
        throw BuildError(std::string(toolName(kind)) + " could not sign " + pathText(target) +
                         (code < 0 ? " (it did not run)" : " (exit code " + std::to_string(code) + ")") +
                         (log.empty() ? "" : ":\n" + log));
    }
}

std::string password(const SigningOptions& options) {
    if (options.passwordEnv.empty()) return "";
    std::string value;
    if (!environmentValue(options.passwordEnv, value)) {
        throw BuildError("signing.password-env: the environment variable " + options.passwordEnv + " is not set");
    }
    return value;
}

}  // namespace

SigningToolKind signingToolKind(const fs::path& program) {
    std::string name = lowerAscii(pathText(program.filename()));
    return name == "signtool" || name == "signtool.exe" ? SigningToolKind::Signtool : SigningToolKind::Osslsigncode;
}

std::vector<std::string> signCommand(const std::string& tool, const SigningOptions& options,
                                     const std::string& description, const fs::path& input, const fs::path& output,
                                     const fs::path& passwordFile) {
    std::vector<std::string> command = {tool, "sign"};
    if (!options.pkcs12.empty()) {
        command.insert(command.end(), {"-pkcs12", pathText(options.pkcs12)});
    } else {
        command.insert(command.end(), {"-certs", pathText(options.certificate), "-key", pathText(options.key)});
    }
    if (!passwordFile.empty()) command.insert(command.end(), {"-readpass", pathText(passwordFile)});
    command.insert(command.end(), {"-h", "sha256"});
    if (!description.empty()) command.insert(command.end(), {"-n", description});
    if (!options.timestampUrl.empty()) command.insert(command.end(), {"-t", options.timestampUrl});
    if (!options.signingTime.empty()) command.insert(command.end(), {"-time", options.signingTime});
    command.insert(command.end(), {"-in", pathText(input), "-out", pathText(output)});
    return command;
}

std::vector<std::string> signtoolCommand(const std::string& tool, const SigningOptions& options,
                                         const std::string& description, const fs::path& file,
                                         const std::string& password) {
    std::vector<std::string> command = {tool, "sign", "/fd", "sha256", "/f", pathText(options.pkcs12)};
    if (!password.empty()) command.insert(command.end(), {"/p", password});
    if (!description.empty()) command.insert(command.end(), {"/d", description});
    if (!options.timestampUrl.empty()) command.insert(command.end(), {"/t", options.timestampUrl});
    command.push_back(pathText(file));
    return command;
}

SigningTool chooseSigningTool(const SigningOptions& options) {
    if (!options.tool.empty()) return projectTool(options.tool);
    std::string named;
    if (environmentValue("VEXAL_OSSLSIGNCODE", named) && !named.empty()) {
        return {pathFromUtf8(named), SigningToolKind::Osslsigncode};
    }
    fs::path program = findProgramOnPath("osslsigncode");
    if (!program.empty()) return {program, SigningToolKind::Osslsigncode};
    // signtool comes with the Windows SDK, which does not put it on PATH.
    program = findProgramOnPath("signtool");
    if (program.empty()) {
        const std::vector<fs::path> installed = installedSigntools();
        if (!installed.empty()) program = installed.front();
    }
    if (!program.empty()) return {program, SigningToolKind::Signtool};
    return {};
}

std::string findSigningTool() { return pathText(chooseSigningTool(SigningOptions{}).program); }

std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const fs::path& target) {
    SigningScratch scratch;
    return signExecutable(bytes, options, description, target, scratch);
}

std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const fs::path& target, const SigningScratch& scratch) {
    const SigningTool tool = chooseSigningTool(options);
    if (tool.program.empty()) throw BuildError(missingToolMessage(options));
    if (tool.kind == SigningToolKind::Signtool && options.pkcs12.empty()) {
        throw BuildError("signing.certificate and signing.key need osslsigncode; signtool signs with signing.pkcs12");
    }
    const fs::path input = scratch.file("unsigned.exe");
    const fs::path output = scratch.file("signed.exe");
    const std::string secret = password(options);

    if (tool.kind == SigningToolKind::Signtool) {
        // signtool changes the file it is given: a private copy of the bytes.
        writePrivateFile(output, bytes);
        runSigningTool(signtoolCommand(pathText(tool.program), options, description, output, secret), tool.kind,
                       target);
        return readFileBytes(output);
    }

    writePrivateFile(input, bytes);
    fs::path passwordFile;
    if (!options.passwordEnv.empty()) {
        passwordFile = scratch.file("password");
        writePrivateFile(passwordFile, secret);
    }
    SigningOptions effective = options;
    std::string epoch;
    if (effective.signingTime.empty() && environmentValue("SOURCE_DATE_EPOCH", epoch) && !epoch.empty()) {
        effective.signingTime = epoch;
    }
    runSigningTool(signCommand(pathText(tool.program), effective, description, input, output, passwordFile),
                   tool.kind, target);
    return readFileBytes(output);
}

}  // namespace gen
}  // namespace vexal
