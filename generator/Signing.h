#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "generator/ProjectFile.h"

namespace vexal {
namespace gen {

// The osslsigncode command line that signs input into output (SHA-256,
// the application name as the signature's description). The password, when
// there is one, is read from passwordFile, never given on the command line.
std::vector<std::string> signCommand(const std::string& tool, const SigningOptions& options,
                                     const std::string& description, const std::filesystem::path& input,
                                     const std::filesystem::path& output, const std::filesystem::path& passwordFile);

// The signing tool: VEXAL_OSSLSIGNCODE, else osslsigncode on the search
// path; empty when there is none.
std::string findSigningTool();

// Signs the executable bytes and returns the signed bytes. The signature
// records the signing time; with SOURCE_DATE_EPOCH set, that time is used,
// so that the same inputs give the same signed bytes. Works in
// temporary files beside target. Throws BuildError (with the tool's own
// message) when the tool is missing or fails.
std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const std::filesystem::path& target);

// Runs a program with arguments (no shell); its standard output and error
// go to output. Returns the exit code, or -1 when it cannot be started.
int runProgram(const std::vector<std::string>& command, std::string& output);

}  // namespace gen
}  // namespace vexal
