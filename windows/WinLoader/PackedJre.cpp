#include "windows/WinLoader/PackedJre.h"

#include <cstdio>

#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ErrorReport.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "windows/WinLoader/HiddenProcess.h"
#include "windows/WinLoader/PackedJreLogic.h"

namespace vexal {

void prepareJre(const std::string& home) {
    const PathStyle& style = platformPathStyle();
    if (!needsUnpacking(pathExists(packedMarkerPath(home, style)), pathExists(restoredMarkerPath(home, style))))
        return;
    logDebug("Unpacking JRE");
    std::fputs("Preparing JRE ...\n", stdout);
    std::fflush(stdout);
    for (const std::string& archive : packedArchives(style)) unpackJar(home, archive);
    logDebug("Unpacking JRE done");
}

void unpackJar(const std::string& home, const std::string& relativeJar) {
    const PathStyle& style = platformPathStyle();
    const std::string archive = home + style.dir + relativeJar;
    const std::string packedArchive = archive + ".pack";
    logDebug("Unpacking %s to %s", packedArchive.c_str(), archive.c_str());
    if (!pathExists(packedArchive)) {
        logDebug("pack path doesn't exists");
        return;
    }
    ProcessRef process = startHiddenProcess(unpackArguments(home, packedArchive, archive, style));
    if (process == nullptr) {
        logDebug("could not create unpack process");
        internalError(InternalErrorCode::PackedJreNotUnpacked);
    }
    logDebug("waiting for unpack200 to finish");
    waitForProcessEnd(process);
    logDebug("unpack done");
}

}  // namespace vexal
