#include "windows/WinLoader/JavaCheck.h"

#include "common/EnvironmentVars.h"
#include "common/PathStyle.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/PathHelpers.h"
#include "windows/WinLoader/JavaHomeLayout.h"
#include "windows/WinLoader/JavaVersion.h"
#include "windows/WinLoader/JvmLibraryLogic.h"
#include "windows/WinLoader/JvmRegistry.h"
#include "windows/WinLoader/LibraryLoader.h"
#include "windows/WinLoader/PackedJre.h"

namespace vexal {

namespace {

// The version of an existing executable: from the cache while the file is
// unchanged, else from a probe whose result is cached whatever it is.
bool knownVersion(const std::string& executable, const FileTime& lastWriteTime, std::string& version) {
    if (readCachedVersion(executable, lastWriteTime, version)) {
        logDebug("got version from registry %s", version.c_str());
        return true;
    }
    if (probeJavaVersion(executable, version)) {
        logDebug("got version from execution %s", version.c_str());
        writeCachedVersion(executable, lastWriteTime, version);
        return true;
    }
    logDebug("couldn't get version");
    return false;
}

// False, with the log line, for a runtime built for another machine than the
// launcher's (a 32-bit or ARM64 runtime met by the 64-bit launcher): its
// library would not load, and the search is to go on past it rather than
// end with "damaged". The JVM libraries that the loader would try decide; a
// runtime is refused when some of them can be read and none fits. Without a
// readable library the executable's own header decides, and without that
// the runtime is not refused here.
bool architectureFits(const std::string& javaExecutable) {
    const ImageArchitecture launcher = loadableArchitecture();
    const int bits = sizeof(void*) * 8;
    std::string refused;
    for (const std::string& library :
         jvmLibraryCandidates(javaExecutable, configString(id::PreferredVariant), platformPathStyle())) {
        ImageArchitecture found;
        if (!imageArchitectureOf(library, found)) continue;
        if (loadableBy(found, launcher)) return true;
        if (refused.empty()) refused = library;
    }
    ImageArchitecture found;
    if (refused.empty() && imageArchitectureOf(javaExecutable, found) && !loadableBy(found, launcher))
        refused = javaExecutable;
    if (refused.empty()) return true;
    logDebug("%s", wrongArchitectureLine(refused, bits).c_str());
    return false;
}

}  // namespace

bool checkJavaExe(std::string& javaExecutable, std::string& version, const std::string& minimum,
                  const std::string& maximum, bool acceptBeta) {
    logDebug("checkJavaExe (%s, [out], %s, %s, %d)", javaExecutable.c_str(), minimum.c_str(), maximum.c_str(),
             acceptBeta ? 1 : 0);
    javaExecutable = absolutePath(javaExecutable, false);
    bool result = false;
    FileTime lastWriteTime;
    if (!findFile(javaExecutable, &lastWriteTime)) {
        logDebug("file doesn't exist");
    } else {
        logDebug("file exists");
        version.clear();
        // A runtime of another machine is neither probed nor cached.
        result = architectureFits(javaExecutable) && knownVersion(javaExecutable, lastWriteTime, version) &&
                 versionInRange(version, minimum, maximum, acceptBeta, configInt(id::AcceptBeta) != 0);
    }
    if (result && configInt(id::ExecutableType) == 1) {
        // GUI applications run on javaw.exe where the platform has one.
        javaExecutable = guiJavaExecutable(javaExecutable, platformPathStyle());
        return pathExists(javaExecutable);
    }
    logDebug("checkJavaExe returning %d", result ? 1 : 0);
    return result;
}

std::string javaExeForHome(const std::string& home) {
    const PathStyle& style = platformPathStyle();
    const std::string jdkLayout = jdkJavaExecutable(home, style);
    if (pathExists(jdkLayout)) return jdkLayout;
    return homeJavaExecutable(home, style);
}

bool checkJavaHome(std::string& javaExecutable, const std::string& directory, const std::string& minimum,
                   const std::string& maximum, bool skipVersionCheck) {
    const std::string home = absolutePath(directory, false);
    prepareJre(home);
    javaExecutable = javaExeForHome(home);
    // The bundle pass takes a runtime without its version; one that the
    // launcher cannot load is still passed over.
    if (skipVersionCheck) return !pathExists(javaExecutable) || architectureFits(javaExecutable);
    std::string version;
    return checkJavaExe(javaExecutable, version, minimum, maximum, true);
}

bool checkJavaEnvVar(std::string& javaExecutable, const std::string& variable, const std::string& minimum,
                     const std::string& maximum) {
    std::string home;
    if (!getEnvironmentValue(variable, home) || home.empty()) return false;
    javaExecutable = javaExeForHome(home);
    std::string version;
    return checkJavaExe(javaExecutable, version, minimum, maximum, false);
}

bool checkJavaOnPath(std::string& javaExecutable, const std::string& minimum, const std::string& maximum) {
    if (!searchExecutable(javaExecutableFileName(platformPathStyle()), javaExecutable)) return false;
    std::string version;
    return checkJavaExe(javaExecutable, version, minimum, maximum, false);
}

}  // namespace vexal
