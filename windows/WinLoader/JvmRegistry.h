#pragma once
#include <string>

#include "files/PathHelpers.h"

namespace vexal {

// Search letter Y: the better of the JavaSoft registration and the
// located-JVM records.
bool checkJavaRegistry(std::string& javaExecutable, const std::string& minimum, const std::string& maximum);

// The JavaSoft keys under HKEY_LOCAL_MACHINE: the current-version route, then
// the runtime and the JDK key enumerated in descending version order.
bool findJavaSoftJvm(std::string& javaExecutable, std::string& version, const std::string& minimum,
                     const std::string& maximum);

// The located-JVM records under "SOFTWARE\tarnwellsoft\vexal\locatedjvms\",
// per user and per machine.
bool findLocatedJvm(std::string& javaExecutable, std::string& version, const std::string& minimum,
                    const std::string& maximum);

// The per-user version cache under "SOFTWARE\tarnwellsoft\vexal\jvms\",
// keyed by the encoded executable path and guarded by its last-write time.
bool readCachedVersion(const std::string& executable, const FileTime& lastWriteTime, std::string& version);
void writeCachedVersion(const std::string& executable, const FileTime& lastWriteTime, const std::string& version);

// The keys this search reads and writes. Tests point them at scratch keys
// (windows/TestSeams.h)
// (the roots stay: JavaSoft keys under HKEY_LOCAL_MACHINE, located records
// under both, the cache under HKEY_CURRENT_USER).
struct JvmRegistryKeys {
    std::string runtimeKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
    std::string developmentKitKey = "SOFTWARE\\JavaSoft\\Java Development Kit";
    std::string locatedJvmsKey = "SOFTWARE\\tarnwellsoft\\vexal\\locatedjvms\\";
    std::string versionCacheKey = "SOFTWARE\\tarnwellsoft\\vexal\\jvms\\";
};
const JvmRegistryKeys& jvmRegistryKeys();

}  // namespace vexal
