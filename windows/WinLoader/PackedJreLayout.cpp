#include "windows/WinLoader/PackedJreLayout.h"

namespace vexal {

std::string packedMarkerPath(const std::string& home) { return home + "\\lib\\rt.jar.pack"; }
std::string restoredMarkerPath(const std::string& home) { return home + "\\lib\\jsse.jar"; }

bool needsUnpacking(bool packedMarkerExists, bool restoredMarkerExists) {
    return packedMarkerExists && !restoredMarkerExists;
}

const std::vector<std::string>& packedArchives() {
    static const std::vector<std::string> archives = {
        "lib\\rt.jar",     "lib\\charsets.jar",         "lib\\plugin.jar",
        "lib\\deploy.jar", "lib\\ext\\localedata.jar", "lib\\jsse.jar",
    };
    return archives;
}

std::string unpackCommand(const std::string& home, const std::string& packedArchive, const std::string& archive) {
    return home + "\\bin\\unpack200.exe -r " + packedArchive + " " + archive;
}

}  // namespace vexal
