#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/PathStyle.h"

namespace vexal {

// The decisions of class-data sharing that depend on no file: which archive
// a runtime can keep, which options ask for it, which options of the user's
// already decide it, and the names of the archives in the per-user cache.

// The value of entry 154 that turns it on; any other value (and no entry)
// leaves the JVM's sharing as it is.
constexpr const char* kClassDataSharingAuto = "auto";

// What a runtime can keep of the application's classes:
// JDK 13 to 24 a dynamic archive (-XX:ArchiveClassesAtExit, then
// -XX:SharedArchiveFile), JDK 25 and later an AOT cache (-XX:AOTCacheOutput,
// then -XX:AOTCache); nothing before 13 or for an unknown version.
enum class SharingMechanism { None, DynamicArchive, AotCache };
SharingMechanism sharingMechanism(int featureVersion);
const char* mechanismName(SharingMechanism mechanism);

// A runtime's "release" file: the Java feature version of JAVA_VERSION
// ("17.0.15" 17, "1.8.0_202" 8, "25-ea" 25; 0 without one) and the full
// version (JAVA_RUNTIME_VERSION, else JAVA_VERSION; empty without either).
int releaseFeatureVersion(const std::string& releaseText);
std::string releaseRuntimeVersion(const std::string& releaseText);

// The runtime's home for its JVM library: three folders up
// (<home>/lib/server/libjvm.so, <home>\bin\server\jvm.dll); empty when the
// path has fewer.
std::string runtimeHomeOf(const std::string& jvmLibrary, const PathStyle& style);

// The JDK's own base archives beside its JVM library (classes.jsa, and
// classes_nocoops.jsa for heaps without compressed pointers), over which a
// dynamic archive lies. Java 17 refuses to start at all when it is to write a
// dynamic archive and cannot load its base archive, so the launcher asks for
// one only where both are there.
std::vector<std::string> baseArchivesOf(const std::string& jvmLibrary, const PathStyle& style);

// The first of the options that already decides class-data sharing
// (-Xshare:..., the archive, AOT and class-list flags, or a VM options file
// that may hold them); empty when none does. The user's options win: the
// launcher then adds none of its own.
std::string sharingDecidedBy(const std::vector<std::string>& options);

// JAVA_TOOL_OPTIONS as the JVM reads it: blank-separated options.
std::vector<std::string> toolOptions(const std::string& value);

// The elements of a "-Djava.class.path=..." option (empty ones dropped);
// none for another option.
std::vector<std::string> classPathElements(const std::string& classPathOption, const PathStyle& style);

// The options that use the archive at path, or (create) make the JVM write
// one there at its end. The JVM's own messages about archives are kept off
// standard output, where they would mix with the application's: a rejected
// archive is then used without a word, and a run that writes one prints
// nothing.
std::vector<std::string> sharingOptions(SharingMechanism mechanism, bool create, const std::string& path);

// The archives of one executable with one runtime share a slot (their names
// begin with it); the key says what else an archive was made for. Both are
// the first 16 digits of a SHA-256.
std::string archiveSlot(const std::string& executable, const std::string& runtimeHome);
std::string archiveKey(const std::vector<std::string>& material);

// "<slot>-<key>-<size>.jsa" (".aot" for an AOT cache): the name of a
// finished archive records its size, so a cut one is told apart without
// reading it.
std::string archiveFileName(const std::string& slot, const std::string& key, std::uint64_t size,
                            SharingMechanism mechanism);
// "<slot>-<key>.part<pid>": where one process's JVM writes a new archive.
std::string partFileName(const std::string& slot, const std::string& key, unsigned long processId);

struct ArchiveName {
    std::string slot;
    std::string key;
    std::uint64_t size = 0;
    SharingMechanism mechanism = SharingMechanism::None;
};
// The parts of a finished archive's name; false for any other name.
bool parseArchiveFileName(const std::string& name, ArchiveName& parsed);
// True for the name of a file that a JVM writes or wrote (a part file, or
// one the JVM keeps beside it).
bool isPartFileName(const std::string& name);

// True when the first bytes of a file are the magic number that the
// mechanism's archives begin with. The JVM writes that header last, so a file
// it did not finish does not have it.
bool archiveHeadMatches(SharingMechanism mechanism, const std::string& head);

// The free space that a run needs before it lets the JVM write an archive:
// a JVM that cannot finish one ends the application that has already run
// with exit code 1 and "Unable to use shared archive". 256 MiB and four times
// what the class path holds.
bool roomForArchive(std::uint64_t freeBytes, std::uint64_t classPathBytes);

}  // namespace vexal
