#pragma once
#include <string>

namespace vexal {

// Path of the directory that holds the extracted files; empty when the
// executable includes none.
std::string& extractionDir();

// Copies the included files into a fresh temporary directory. True when all
// were written or there is nothing to extract.
bool extractIncludedFiles(std::string& directory);

}  // namespace vexal
