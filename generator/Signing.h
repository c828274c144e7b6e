#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "generator/ProgramRun.h"
#include "generator/ProjectFile.h"

namespace vexal {
namespace gen {

// The two signing programs the generator knows: osslsigncode (any system;
// writes a signed copy) and Microsoft's signtool (Windows; signs in place).
enum class SigningToolKind { Osslsigncode, Signtool };

struct SigningTool {
    std::filesystem::path program;  // empty: none found
    SigningToolKind kind = SigningToolKind::Osslsigncode;
};

// The kind of a signing program by its file name: "signtool" or
// "signtool.exe" (any case) is signtool, anything else speaks osslsigncode's
// language.
SigningToolKind signingToolKind(const std::filesystem::path& program);

// The osslsigncode command line that signs input into output (SHA-256,
// the application name as the signature's description). The password, when
// there is one, is read from passwordFile, never given on the command line.
std::vector<std::string> signCommand(const std::string& tool, const SigningOptions& options,
                                     const std::string& description, const std::filesystem::path& input,
                                     const std::filesystem::path& output, const std::filesystem::path& passwordFile);

// The signtool command line that signs file in place (SHA-256 for the file
// digest, the application name as description, the PKCS#12 file's
// password given with /p: signtool reads it from nowhere else). Only
// signing.pkcs12 is signtool's; signing.certificate with signing.key needs
// osslsigncode.
std::vector<std::string> signtoolCommand(const std::string& tool, const SigningOptions& options,
                                         const std::string& description, const std::filesystem::path& file,
                                         const std::string& password);

// The signing program: signing.tool when the project names one (a path, or
// a name looked up on PATH); else VEXAL_OSSLSIGNCODE; else osslsigncode on
// PATH; else signtool on PATH or in an installed Windows SDK (Windows).
// An empty program when none is there.
SigningTool chooseSigningTool(const SigningOptions& options);

// The program chooseSigningTool finds for a project that names none; empty
// when there is none.
std::string findSigningTool();

// A private scratch directory for signing (owner only, a fresh name) in the
// temporary directory, removed with what it holds when it goes. Nobody else can read the password or the
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
// records the signing time; with SOURCE_DATE_EPOCH set, that time is used
// (osslsigncode), so that the same inputs give the same signed bytes. Works
// in a private scratch directory of its own (owner only) in the temporary
// directory, which also holds the password file; nothing is written beside
// target. Throws BuildError (with the tool's own message) when the tool is
// missing or fails.
std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const std::filesystem::path& target);
// The same in a scratch directory that the caller made (and may keep its own
// files in, under names other than "unsigned.exe", "signed.exe" and
// "password").
std::string signExecutable(const std::string& bytes, const SigningOptions& options, const std::string& description,
                           const std::filesystem::path& target, const SigningScratch& scratch);

}  // namespace gen
}  // namespace vexal
