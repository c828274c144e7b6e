#include "windows/WinLoader/JreConfigFile.h"

#include <cstdio>

#include "common/Limits.h"
#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "files/PathHelpers.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

bool readJreConfigFile(std::string& line, const char* suffix) {
    const std::string path = absolutePath(configString(id::InstallRoot), false) + styledPath(suffix, platformPathStyle());
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return false;
    char buffer[kTextBuffer];
    const bool read = std::fgets(buffer, sizeof buffer, file) != nullptr;
    std::fclose(file);
    if (!read) return false;
    line = trimLineEnd(buffer);
    return true;
}

}  // namespace vexal
