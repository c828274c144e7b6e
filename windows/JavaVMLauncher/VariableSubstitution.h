#pragma once
#include <string>
#include <vector>

namespace vexal {

// What the launcher variables stand for.
struct LauncherVariables {
    std::string exeDir;   // the executable directory, with its trailing backslash
    std::string tempDir;  // the extraction directory, or empty
    std::string listSeparator = ";";  // the platform's path-list separator
};

// Configured texts are held in 8192-byte buffers: at most this many bytes.
constexpr std::size_t kSubstitutedTextLimit = 8191;

// The substitution over given values: the twelve launcher variables in
// their fixed order, then for every "NAME=value" entry of the environment
// block, in block order, "${NAME}" and its upper-cased form. Entries without
// "=" are skipped; an entry is read as an 8192-byte buffer holds it.
void substituteVariablesWith(std::string& text, const LauncherVariables& variables,
                             const std::vector<std::string>& environmentBlock);

}  // namespace vexal
