// The archive of the application's classes in the per-user cache: finding
// a usable one, letting the JVM write a new one, and putting that in place.
#include "windows/JavaVMLauncher/SharingArchive.h"

#include <cstdio>

#include "common/EnvironmentVars.h"
#include "common/Format.h"
#include "common/PathStyle.h"
#include "common/ProcessId.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/CacheFiles.h"
#include "files/PathHelpers.h"
#include "files/StableFiles.h"
#include "files/UserCache.h"
#include "windows/JavaVMLauncher/ClassDataSharing.h"
#include "windows/JavaVMLauncher/JvmEntry.h"
#include "windows/JavaVMLauncher/JvmSession.h"

namespace vexal {

namespace {

constexpr std::size_t kHeadBytes = 4;
constexpr int kPartFilesKeptDays = 1;

// The archive this run's JVM writes, until it is put in place.
struct PendingArchive {
    bool active = false;
    SharingMechanism mechanism = SharingMechanism::None;
    std::string directory;  // the cache's archive folder, with separator
    std::string slot;
    std::string key;
    std::string part;  // full path the JVM writes
};

PendingArchive gArchive;

std::string readSmallFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return text;
    char buffer[4096];
    std::size_t n;
    while (text.size() < 16 * sizeof buffer && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
    return text;
}

bool isWhole(const std::string& path, SharingMechanism mechanism, std::uint64_t size) {
    const FileFacts facts = fileFacts(path);
    return facts.exists && !facts.directory && facts.size == size && size > 0 &&
           archiveHeadMatches(mechanism, readFileHead(path, kHeadBytes));
}

// What the JVM checks an archive against, so that an archive made for
// something else is never used: the runtime and its JVM library, every
// class-path element as it is on disk, and the options of the user's and
// the configuration, less those that do not bear on an archive (system
// properties other than the class path, logging): a -J-Xlog:class+load for
// a look at the classes uses the same archive.
std::vector<std::string> keyMaterial(SharingMechanism mechanism, const std::string& home, const std::string& release,
                                     const std::vector<std::string>& options, std::size_t userOptions,
                                     const std::vector<std::string>& classPath) {
    std::vector<std::string> material{mechanismName(mechanism), home, releaseRuntimeVersion(release)};
    std::vector<std::string> files = classPath;
    files.push_back(jvmLibraryPath());
    for (const std::string& file : files) {
        const FileFacts facts = fileFacts(file);
        material.push_back(format("%s %d %llu %lld", file.c_str(), facts.exists ? facts.directory ? 2 : 1 : 0,
                                  static_cast<unsigned long long>(facts.size), static_cast<long long>(facts.modified)));
    }
    for (std::size_t i = userOptions; i < options.size(); ++i) {
        const std::string& option = options[i];
        const bool property = option.rfind("-D", 0) == 0 && option.rfind("-Djava.class.path=", 0) != 0;
        if (!property && option.rfind("-Xlog", 0) != 0 && option.rfind("-verbose", 0) != 0) material.push_back(option);
    }
    return material;
}

// One look at the archive folder: the whole archive of this slot and key,
// if any. Damaged ones are removed (and so made anew by this run), so are
// part files that a run which ended abnormally left over a day ago, and
// (keep false) archives of the slot made for another key: an older build of
// the application, an updated runtime.
std::string sweepArchives(const PendingArchive& archive, bool keepOtherKeys) {
    std::string found;
    const std::int64_t old = currentFileTime() - fileTimeDays(kPartFilesKeptDays);
    for (const std::string& name : directoryNames(archive.directory)) {
        const std::string path = archive.directory + name;
        ArchiveName parsed;
        if (!parseArchiveFileName(name, parsed)) {
            if (isPartFileName(name) && fileFacts(path).modified < old) removeFile(path);
            continue;
        }
        if (parsed.slot != archive.slot) continue;
        if (parsed.key != archive.key) {
            if (!keepOtherKeys && removeFile(path)) logDebug("class-data sharing: %s replaced", path.c_str());
            continue;
        }
        if (parsed.mechanism == archive.mechanism && isWhole(path, archive.mechanism, parsed.size)) {
            if (found.empty()) found = path;
        } else {
            logDebug("class-data sharing: %s is damaged (cut, grown or not an archive): removed", path.c_str());
            removeFile(path);
        }
    }
    return found;
}

void jvmExit() { finishClassDataArchive(); }

// Made here first: when the part file cannot be made, the JVM could not
// write there either, and it would end the run with an error once the
// application is done; so would a full disk.
bool prepareNewArchive(PendingArchive& archive, std::uint64_t classPathBytes) {
    const std::uint64_t room = freeSpace(archive.directory);
    if (!roomForArchive(room, classPathBytes)) {
        logDebug("class-data sharing: only %llu MB free in %s: no archive is made", static_cast<unsigned long long>(room >> 20),
                 archive.directory.c_str());
        return false;
    }
    archive.part = archive.directory + partFileName(archive.slot, archive.key, currentProcessId());
    removeFile(archive.part);
    if (!createExclusiveFile(archive.part)) {
        logDebug("class-data sharing: cannot write in %s: no archive is made", archive.directory.c_str());
        return false;
    }
    archive.active = true;
    setJvmExitAction(jvmExit);
    return true;
}

// The reason this run keeps no archive, or null.
const char* standsBack(const std::vector<std::string>& options, std::size_t at, std::string& detail) {
    detail = sharingDecidedBy(std::vector<std::string>(options.begin() + static_cast<std::ptrdiff_t>(at), options.end()));
    std::string tool;
    if (detail.empty() && getEnvironmentValue("JAVA_TOOL_OPTIONS", tool)) detail = sharingDecidedBy(toolOptions(tool));
    if (!detail.empty()) return "left to the option %s";
    return includedFilesStable() ? nullptr : "the included files are not in the cache%s: no archive";
}

}  // namespace

void addClassDataSharingOptions(std::vector<std::string>& options, std::size_t at) {
    if (configString(id::ClassDataSharing) != kClassDataSharingAuto) return;
    std::string detail;
    if (const char* reason = standsBack(options, at, detail)) {
        logDebug((std::string("class-data sharing: ") + reason).c_str(), detail.c_str());
        return;
    }
    const PathStyle& style = platformPathStyle();
    const std::string home = runtimeHomeOf(jvmLibraryPath(), style);
    const std::string release = home.empty() ? std::string() : readSmallFile(home + style.dir + "release");
    const int feature = releaseFeatureVersion(release);
    const SharingMechanism mechanism = sharingMechanism(feature);
    if (mechanism == SharingMechanism::None) {
        logDebug("class-data sharing: the runtime at %s (Java %d) keeps no archive", home.c_str(), feature);
        return;
    }

    if (mechanism == SharingMechanism::DynamicArchive) {
        for (const std::string& base : baseArchivesOf(jvmLibraryPath(), style)) {
            if (!fileFacts(base).exists) {
                logDebug("class-data sharing: the runtime has no base archive %s: no archive", base.c_str());
                return;
            }
        }
    }

    std::vector<std::string> classPath;
    for (const std::string& option : options) {
        if (option.rfind("-Djava.class.path=", 0) == 0) classPath = classPathElements(option, style);
    }
    std::uint64_t classPathBytes = 0;
    for (const std::string& element : classPath) {
        const FileFacts facts = fileFacts(element);
        if (facts.directory && directoryHasEntries(element)) {
            logDebug("class-data sharing: the class path holds the folder %s; the JVM archives jar files only",
                     element.c_str());
            return;
        }
        classPathBytes += facts.directory ? 0 : facts.size;
    }

    PendingArchive& archive = gArchive;
    archive.directory = userCacheSubdirectory("cds", detail);
    if (archive.directory.empty()) {
        logDebug("class-data sharing: no private cache (%s)", detail.c_str());
        return;
    }
    archive.mechanism = mechanism;
    archive.slot = archiveSlot(ownExePath(), home);
    archive.key = archiveKey(keyMaterial(mechanism, home, release, options, at, classPath));

    const std::string existing = sweepArchives(archive, true);
    const bool create = existing.empty();
    if (!create) {
        logDebug("class-data sharing: Java %d, %s %s", feature, mechanismName(mechanism), existing.c_str());
    } else if (prepareNewArchive(archive, classPathBytes)) {
        logDebug("class-data sharing: Java %d, no archive yet: the JVM writes %s at its end", feature, archive.part.c_str());
    } else {
        return;
    }
    const std::vector<std::string> added = sharingOptions(mechanism, create, create ? archive.part : existing);
    options.insert(options.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void finishClassDataArchive() {
    PendingArchive& archive = gArchive;
    if (!archive.active) return;
    archive.active = false;
    const std::uint64_t size = fileFacts(archive.part).size;
    const std::string target = archive.directory + archiveFileName(archive.slot, archive.key, size, archive.mechanism);
    // The JVM writes an archive's header last: a part file with it is whole.
    if (!isWhole(archive.part, archive.mechanism, size)) {
        logDebug("class-data sharing: the JVM wrote no archive");
    } else if (!syncFile(archive.part) || !replaceFile(archive.part, target)) {
        logDebug("class-data sharing: cannot put the archive in place as %s", target.c_str());
    } else {
        logDebug("class-data sharing: archive %s ready", target.c_str());
        sweepArchives(archive, false);
        return;
    }
    removeFile(archive.part);
}

}  // namespace vexal
