#include "windows/WinLoader/PackedJreLogic.h"

#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

std::string packedMarkerPath(const std::string& home, const PathStyle& style) {
    return home + styledPath("\\lib\\rt.jar.pack", style);
}

std::string restoredMarkerPath(const std::string& home, const PathStyle& style) {
    return home + styledPath("\\lib\\jsse.jar", style);
}

bool needsUnpacking(bool packedMarkerExists, bool restoredMarkerExists) {
    return packedMarkerExists && !restoredMarkerExists;
}

std::vector<std::string> packedArchives(const PathStyle& style) {
    std::vector<std::string> archives;
    for (const char* archive : {"lib\\rt.jar", "lib\\charsets.jar", "lib\\plugin.jar", "lib\\deploy.jar",
                                "lib\\ext\\localedata.jar", "lib\\jsse.jar"})
        archives.push_back(styledPath(archive, style));
    return archives;
}

std::vector<std::string> unpackArguments(const std::string& home, const std::string& packedArchive,
                                         const std::string& archive, const PathStyle& style) {
    const char* tool = style.dir == '\\' ? "\\bin\\unpack200.exe" : "/bin/unpack200";
    return {home + tool, "-r", packedArchive, archive};
}

}  // namespace vexal
