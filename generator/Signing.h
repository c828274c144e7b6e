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

// A private scratch directory for signing (mkdtemp: mode 0700, a fresh
// name) in the temporary directory ($TMPDIR, else /tmp), removed with what
// it holds when it goes. Nobody else can read the password or the
// executable in it, plant a link under one of its names, or swap a file
// while the tool works.
class SigningScratch {
public:
    SigningScratch();
    ~SigningScratch();
    SigningScratch(const SigningScratch&) = delete;
    SigningScratch& operator=(const SigningScratch&) = delete;

    std::filesystem::path file(const char* name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Signs the executable bytes and returns the signed bytes. The signature
// records the signing time; with SOURCE_DATE_EPOCH set, that time is used,
// so that the same inputs give the same signed bytes. Works in a private
// scratch directory of its own (mode 0700) in the temporary directory, which
// also holds the password file; nothing is written beside target. Throws
// BuildError (with the tool's own message) when the tool is missing or
// fails.
std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const std::filesystem::path& target);
// The same in a scratch directory that the caller made (and may keep its own
// files in, under names other than "unsigned.exe", "signed.exe" and
// "password").
std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const std::filesystem::path& target, const SigningScratch& scratch);

// Runs a program with arguments (no shell); its standard output and error
// go to output. Returns the exit code, or -1 when it cannot be started.
int runProgram(const std::vector<std::string>& command, std::string& output);

}  // namespace gen
}  // namespace vexal
