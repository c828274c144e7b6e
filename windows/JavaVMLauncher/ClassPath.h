#pragma once
#include <string>
#include <vector>

namespace vexal {

// The class-path option "-Djava.class.path=..." (no empty elements) from the extracted
// archives, the installer runtime archive (kind 'k') and the items of entry
// 121. Ends the process with message 1006 or 1008 for a missing required item.
std::string buildClassPath();
void appendClassPathEntries(std::string& classPath);
void appendRuntimeJar(std::string& classPath);

// Appends directory\name; for every file of the directory with the
// extension; false when the directory does not exist.
bool appendArchives(std::string& classPath, const std::string& directory, const std::string& extension);
std::vector<std::string> listArchives(const std::string& directory, const std::string& extension);

// Replaces the launcher variables and "${NAME}" environment references.
void substituteVariables(std::string& text);

// Replaces every occurrence of pattern; an inserted replacement is not
// searched again for the same pattern. The result is kept within 8191 bytes.
void replaceAll(std::string& text, const std::string& pattern, const std::string& replacement);

}  // namespace vexal
