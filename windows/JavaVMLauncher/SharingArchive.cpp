// The archive of the application's classes in the per-user cache: finding
// a usable one, letting the JVM write a new one, and putting that in place.
#include "windows/JavaVMLauncher/SharingArchive.h"

#include <cstdio>

#include "common/EnvironmentVars.h"
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
constexpr std::size_t kReleaseBytes = 64 * 1024;
constexpr int kPartFilesKeptDays = 1;

// The archive this run's JVM writes, until it is put in place.
struct PendingArchive {
    bool active = false;
    SharingMechanism mechanism = SharingMechanism::None;
    std::string directory;  // the cache's archive folder, with separator
    std::string slot;
    std::string key;
    std::string part;       // full path the JVM writes
};

PendingArchive& pending() {
    static PendingArchive archive;
    return archive;
}

std::string readSmallFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return text;
    char buffer[4096];
    std::size_t n;
    while (text.size() < kReleaseBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
    return text;
}

std::string factsLine(const std::string& path) {
    const FileFacts facts = fileFacts(path);
    if (!facts.exists) return path + " -";
    if (facts.directory) return path + " dir";
    return path + " " + std::to_string(facts.size) + " " + std::to_string(facts.modified);
}

// A finished archive of this slot and key that is whole: its size is the
// one in its name and it begins with the archive's magic number. Damaged
// ones are removed (and so made anew by this run).
std::string usableArchive(const std::string& dir, const std::string& slot, const std::string& key,
                          SharingMechanism mechanism) {
    std::string found;
    for (const std::string& name : directoryNames(dir)) {
        ArchiveName parsed;
        if (!parseArchiveFileName(name, parsed) || parsed.slot != slot || parsed.key != key) continue;
        const std::string path = dir + name;
        const FileFacts facts = fileFacts(path);
        const char* damage = nullptr;
        if (parsed.mechanism != mechanism) damage = "made by another kind of runtime";
        else if (!facts.exists || facts.directory) damage = "not a file";
        else if (facts.size != parsed.size) damage = "cut short or grown since it was made";
        else if (!archiveHeadMatches(mechanism, readFileHead(path, kHeadBytes))) damage = "not an archive";
        if (damage == nullptr) {
            if (found.empty()) found = path;
            continue;
        }
        logDebug("class-data sharing: %s is %s: removed", path.c_str(), damage);
        removeFile(path);
    }
    return found;
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
    std::vector<std::string> material{mechanismName(mechanism), home, releaseRuntimeVersion(release),
                                      factsLine(jvmLibraryPath())};
    for (const std::string& element : classPath) material.push_back(factsLine(element));
    for (std::size_t i = userOptions; i < options.size(); ++i) {
        const std::string& option = options[i];
        const bool property = option.rfind("-D", 0) == 0 && option.rfind("-Djava.class.path=", 0) != 0;
        if (property || option.rfind("-Xlog", 0) == 0 || option.rfind("-verbose", 0) == 0) continue;
        material.push_back(option);
    }
    return material;
}

void removeOldPartFiles(const std::string& dir) {
    const std::int64_t limit = currentFileTime() - fileTimeDays(kPartFilesKeptDays);
    for (const std::string& name : directoryNames(dir)) {
        if (!isPartFileName(name)) continue;
        const FileFacts facts = fileFacts(dir + name);
        if (facts.exists && !facts.directory && facts.modified < limit) removeFile(dir + name);
    }
}

// Archives of the same slot made for another key (an older build of the
// application, an updated runtime) are of no further use.
void removeOtherKeys(const std::string& dir, const std::string& slot, const std::string& key) {
    for (const std::string& name : directoryNames(dir)) {
        ArchiveName parsed;
        if (parseArchiveFileName(name, parsed) && parsed.slot == slot && parsed.key != key) {
            if (removeFile(dir + name)) logDebug("class-data sharing: %s%s replaced", dir.c_str(), name.c_str());
        }
    }
}

void jvmExit() { finishClassDataArchive(); }

bool prepareNewArchive(PendingArchive& archive, std::uint64_t classPathBytes) {
    const std::uint64_t room = freeSpace(archive.directory);
    if (!roomForArchive(room, classPathBytes)) {
        logDebug("class-data sharing: only %llu MB free in %s: no archive is made this time",
                 static_cast<unsigned long long>(room >> 20), archive.directory.c_str());
        return false;
    }
    removeOldPartFiles(archive.directory);
    archive.part = archive.directory + partFileName(archive.slot, archive.key, currentProcessId());
    // Made here first: when it cannot be, the JVM could not write there
    // either, and it would end the run with an error once the application
    // is done.
    removeFile(archive.part);
    if (!createExclusiveFile(archive.part)) {
        logDebug("class-data sharing: cannot write in %s: no archive is made", archive.directory.c_str());
        return false;
    }
    archive.active = true;
    setJvmExitAction(jvmExit);
    return true;
}

}  // namespace

void addClassDataSharingOptions(std::vector<std::string>& options, std::size_t at) {
    if (configString(id::ClassDataSharing) != kClassDataSharingAuto) return;
    const PathStyle& style = platformPathStyle();
    std::string decidedBy = sharingDecidedBy(std::vector<std::string>(options.begin() + at, options.end()));
    std::string tool;
    if (decidedBy.empty() && getEnvironmentValue("JAVA_TOOL_OPTIONS", tool)) decidedBy = sharingDecidedBy(toolOptions(tool));
    if (!decidedBy.empty()) {
        logDebug("class-data sharing: left to the option %s", decidedBy.c_str());
        return;
    }
    if (!includedFilesStable()) {
        logDebug("class-data sharing: the included files are not in the cache: no archive");
        return;
    }
    const std::string home = runtimeHomeOf(jvmLibraryPath(), style);
    const std::string release = home.empty() ? std::string() : readSmallFile(home + style.dir + "release");
    const int feature = releaseFeatureVersion(release);
    const SharingMechanism mechanism = sharingMechanism(feature);
    if (mechanism == SharingMechanism::None) {
        logDebug("class-data sharing: the runtime at %s (Java %d) keeps no archive", home.c_str(), feature);
        return;
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
        if (facts.exists && !facts.directory) classPathBytes += facts.size;
    }

    std::string problem;
    PendingArchive& archive = pending();
    archive.directory = userCacheSubdirectory("cds", problem);
    if (archive.directory.empty()) {
        logDebug("class-data sharing: no private cache (%s)", problem.c_str());
        return;
    }
    archive.mechanism = mechanism;
    archive.slot = archiveSlot(ownExePath(), home);
    archive.key = archiveKey(keyMaterial(mechanism, home, release, options, at, classPath));

    std::vector<std::string> added;
    const std::string existing = usableArchive(archive.directory, archive.slot, archive.key, mechanism);
    if (!existing.empty()) {
        logDebug("class-data sharing: Java %d, %s %s", feature, mechanismName(mechanism), existing.c_str());
        added = sharingOptions(mechanism, false, existing);
    } else if (prepareNewArchive(archive, classPathBytes)) {
        logDebug("class-data sharing: Java %d, no archive yet: the JVM writes %s at its end", feature,
                 archive.part.c_str());
        added = sharingOptions(mechanism, true, archive.part);
    }
    options.insert(options.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void finishClassDataArchive() {
    PendingArchive& archive = pending();
    if (!archive.active) return;
    archive.active = false;
    const FileFacts facts = fileFacts(archive.part);
    if (!facts.exists || facts.directory || facts.size == 0 ||
        !archiveHeadMatches(archive.mechanism, readFileHead(archive.part, kHeadBytes))) {
        logDebug("class-data sharing: the JVM wrote no archive");
        removeFile(archive.part);
        return;
    }
    const std::string target =
        archive.directory + archiveFileName(archive.slot, archive.key, facts.size, archive.mechanism);
    if (!syncFile(archive.part) || !replaceFile(archive.part, target)) {
        logDebug("class-data sharing: cannot put the archive in place as %s", target.c_str());
        removeFile(archive.part);
        return;
    }
    logDebug("class-data sharing: archive %s ready", target.c_str());
    removeOtherKeys(archive.directory, archive.slot, archive.key);
}

}  // namespace vexal
