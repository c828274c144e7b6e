#include "files/StableFiles.h"

#include "common/PathStyle.h"
#include "common/Sha256.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ConfigStore.h"
#include "config/Log.h"
#include "files/CacheFiles.h"
#include "files/Extraction.h"
#include "files/ExtractionFiles.h"
#include "files/IncludedFiles.h"
#include "files/UserCache.h"

namespace vexal {

namespace {

constexpr int kUnusedPlaceDays = 30;
constexpr int kUnfinishedPlaceDays = 1;
constexpr const char* kNewPrefix = ".new-";
constexpr const char* kOldPrefix = ".old-";

bool gStable = false;

struct Record {
    std::string name;
    std::int32_t size = 0;
    std::uint64_t dataPosition = 0;
};

// The records' sizes and places, read from the current position.
bool readRecords(ByteSource& executable, const std::vector<std::string>& names, std::int32_t count,
                 std::vector<Record>& records) {
    for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(count); ++i) {
        if (includedFileNameProblem(names[i]) != nullptr) return false;
        Record record{names[i], 0, 0};
        if (!readInt(executable, record.size)) return false;
        record.dataPosition = executable.position();
        const std::uint64_t size = record.size > 0 ? static_cast<std::uint64_t>(record.size) : 0;
        if (!sourceHolds(executable, size)) return false;
        executable.seek(record.dataPosition + size);
        records.push_back(record);
    }
    return true;
}

// Every file with data is there with its size (empty ones are never
// written, as in a fresh directory).
bool placeIsWhole(const std::string& place, const std::vector<Record>& records) {
    const char separator = platformPathStyle().dir;
    for (const Record& record : records) {
        if (record.size <= 0) continue;
        const FileFacts facts = fileFacts(place + separator + record.name);
        if (!facts.exists || facts.directory || facts.size != static_cast<std::uint64_t>(record.size)) return false;
    }
    return true;
}

bool writeFiles(ByteSource& executable, const std::string& dir, const std::vector<Record>& records) {
    const char separator = platformPathStyle().dir;
    for (const Record& record : records) {
        if (record.size <= 0) continue;
        const std::string path = dir + separator + record.name;
        std::unique_ptr<ByteSink> target = createExtractedFile(path);
        if (!target) {
            logDebug("class-data sharing: cannot create %s", path.c_str());
            return false;
        }
        executable.seek(record.dataPosition);
        if (copyRecordData(executable, *target, static_cast<std::uint64_t>(record.size), true) != CopyResult::Done) {
            logDebug("class-data sharing: cannot write %s (is the disk full?)", path.c_str());
            return false;
        }
        target.reset();
        makeReadOnly(path, false);
    }
    return true;
}

// Places of other builds unused for a month, and unfinished ones of crashed
// runs.
void removeUnusedPlaces(const std::string& filesDir, const std::string& current) {
    const std::int64_t now = currentFileTime();
    for (const std::string& name : directoryNames(filesDir)) {
        const std::string path = filesDir + name;
        if (path == current) continue;
        const bool unfinished = name.rfind(kNewPrefix, 0) == 0 || name.rfind(kOldPrefix, 0) == 0;
        if (!unfinished && !isSha256Hex(name)) continue;
        const FileFacts facts = fileFacts(path);
        const int days = unfinished ? kUnfinishedPlaceDays : kUnusedPlaceDays;
        if (facts.exists && facts.modified < now - fileTimeDays(days)) removeTree(path);
    }
}

void moveAside(const std::string& filesDir, const std::string& place) {
    const std::string aside = makeUniqueDirectory(filesDir + kOldPrefix);
    // The unique name only reserves a name; the damaged place goes below it.
    const std::string target = aside.empty() ? std::string() : aside + platformPathStyle().dir + "place";
    if (target.empty() || !renameDirectory(place, target)) {
        removeTree(place);
    }
    if (!aside.empty()) removeTree(aside);
}

}  // namespace

bool wantsStableIncludedFiles() { return configString(id::ClassDataSharing) == "auto"; }

bool includedFilesStable() { return gStable || extractionDir().empty(); }

bool placeIncludedFilesStably(ByteSource& executable, const std::vector<std::string>& names, std::int32_t count,
                              std::string& directory) {
    const std::string digest = configString(id::IncludedFilesDigest);
    if (!isSha256Hex(digest)) {
        logDebug("class-data sharing: the included files have no digest (entry 2004): fresh directory");
        return false;
    }
    std::vector<Record> records;
    if (!readRecords(executable, names, count, records)) return false;
    std::string problem;
    const std::string filesDir = userCacheSubdirectory("files", problem);
    if (filesDir.empty()) {
        logDebug("class-data sharing: no private cache (%s): fresh directory", problem.c_str());
        return false;
    }
    const std::string place = filesDir + digest;
    FileFacts facts = fileFacts(place);
    if (facts.exists && facts.directory && placeIsWhole(place, records)) {
        touchPath(place);
        logDebug("Included files from %s", place.c_str());
        directory = place;
        gStable = true;
        return true;
    }
    if (facts.exists) {
        logDebug("class-data sharing: %s is damaged: made anew", place.c_str());
        moveAside(filesDir, place);
    }

    const std::string fresh = makeUniqueDirectory(filesDir + kNewPrefix);
    if (fresh.empty()) {
        logDebug("class-data sharing: cannot write in %s: fresh directory", filesDir.c_str());
        return false;
    }
    if (!writeFiles(executable, fresh, records)) {
        removeTree(fresh);
        return false;
    }
    makeReadOnly(fresh, true);
    if (!renameDirectory(fresh, place)) {
        // Another launch put the same files there first.
        removeTree(fresh);
        facts = fileFacts(place);
        if (!facts.exists || !facts.directory || !placeIsWhole(place, records)) {
            logDebug("class-data sharing: cannot put the included files in %s: fresh directory", place.c_str());
            return false;
        }
    } else {
        removeUnusedPlaces(filesDir, place);
    }
    logDebug("Included files in %s", place.c_str());
    directory = place;
    gStable = true;
    return true;
}

}  // namespace vexal
