#include "files/Extraction.h"

namespace vexal {

std::string& extractionDir() {
    static std::string directory;
    return directory;
}

// Included files are not extracted yet: nothing to do.
bool extractIncludedFiles(std::string& directory) {
    directory.clear();
    return true;
}

}  // namespace vexal
