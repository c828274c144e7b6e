#include "windows/WinLoader/JvmRegistry.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/Limits.h"
#include "windows/TestSeams.h"
#include "windows/WinLoader/JavaCheck.h"
#include "windows/WinLoader/JavaVersion.h"
#include "windows/WinLoader/RegistryAccess.h"
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

namespace {

// CurrentVersion values are read into a buffer of this many bytes.
constexpr std::size_t kFamilyBuffer = 100;

std::unique_ptr<JvmRegistryKeys>& keysOverride() {
    static std::unique_ptr<JvmRegistryKeys> keys;
    return keys;
}

struct Candidate {
    std::string executable;
    std::string version;
};

// The CurrentVersion family of one JavaSoft key, empty when it cannot be
// read or lies outside the bounds.
std::string currentFamily(const std::string& key, const std::string& minimum, const std::string& maximum) {
    std::string family;
    if (!readRegistryText(RegistryRoot::LocalMachine, key, "CurrentVersion", kFamilyBuffer, family)) return "";
    return versionPrefixInRange(family, minimum, maximum) ? family : "";
}

bool checkJavaSoftHome(const std::string& versionKey, std::string& executable, std::string& version,
                       const std::string& minimum, const std::string& maximum) {
    std::string home;
    if (!readRegistryText(RegistryRoot::LocalMachine, versionKey, "JavaHome", kTextBuffer, home)) return false;
    executable = javaExeForHome(home);
    return checkJavaExe(executable, version, minimum, maximum, false);
}

bool currentVersionRoute(std::string& executable, std::string& version, const std::string& minimum,
                         const std::string& maximum) {
    const JvmRegistryKeys& keys = jvmRegistryKeys();
    const std::string jdk = currentFamily(keys.developmentKitKey, minimum, maximum);
    const std::string jre = currentFamily(keys.runtimeKey, minimum, maximum);
    const std::string key = jdk > jre ? keys.developmentKitKey + "\\" + jdk : keys.runtimeKey + "\\" + jre;
    return checkJavaSoftHome(key, executable, version, minimum, maximum);
}

// The version subkeys within the bounds, tried from the greatest name down.
bool enumerationRoute(const std::string& key, std::string& executable, std::string& version,
                      const std::string& minimum, const std::string& maximum) {
    std::vector<std::string> names;
    if (!listRegistrySubkeys(RegistryRoot::LocalMachine, key, names)) return false;
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) { return !versionPrefixInRange(name, minimum, maximum); }),
                names.end());
    std::sort(names.begin(), names.end());
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (checkJavaSoftHome(key + "\\" + *name, executable, version, minimum, maximum)) return true;
    }
    return false;
}

// The located record with the greatest version under one root; the first
// of equal versions stays.
bool scanLocatedRecords(RegistryRoot root, Candidate& best, const std::string& minimum, const std::string& maximum) {
    std::vector<std::string> names;
    if (!listRegistrySubkeys(root, jvmRegistryKeys().locatedJvmsKey, names)) return false;
    bool found = false;
    best.version.clear();
    for (const std::string& name : names) {
        Candidate record{decodeJvmKeyName(name), ""};
        if (!checkJavaExe(record.executable, record.version, minimum, maximum, true)) continue;
        if (record.version > best.version) {
            best = record;
            found = true;
        }
    }
    return found;
}

std::string cacheKey(const std::string& executable) {
    return jvmRegistryKeys().versionCacheKey + encodeJvmKeyName(executable);
}

// The 64-bit file time as stored: low word first, each little-endian.
std::string fileTimeBytes(const FileTime& time) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((time.low >> (8 * i)) & 0xff);
        bytes[4 + i] = static_cast<char>((time.high >> (8 * i)) & 0xff);
    }
    return bytes;
}

}  // namespace

const JvmRegistryKeys& jvmRegistryKeys() {
    static const JvmRegistryKeys real;
    const std::unique_ptr<JvmRegistryKeys>& given = keysOverride();
    return given ? *given : real;
}

void overrideJvmRegistryKeys(const JvmRegistryKeys* keys) {
    keysOverride() = keys ? std::make_unique<JvmRegistryKeys>(*keys) : nullptr;
}

bool checkJavaRegistry(std::string& javaExecutable, const std::string& minimum, const std::string& maximum) {
    Candidate javaSoft, located;
    const bool a = findJavaSoftJvm(javaSoft.executable, javaSoft.version, minimum, maximum);
    const bool b = findLocatedJvm(located.executable, located.version, minimum, maximum);
    if (!a && !b) return false;
    const bool takeJavaSoft = a && (!b || javaSoft.version > located.version);
    javaExecutable = takeJavaSoft ? javaSoft.executable : located.executable;
    return true;
}

bool findJavaSoftJvm(std::string& javaExecutable, std::string& version, const std::string& minimum,
                     const std::string& maximum) {
    const JvmRegistryKeys& keys = jvmRegistryKeys();
    return currentVersionRoute(javaExecutable, version, minimum, maximum) ||
           enumerationRoute(keys.runtimeKey, javaExecutable, version, minimum, maximum) ||
           enumerationRoute(keys.developmentKitKey, javaExecutable, version, minimum, maximum);
}

bool findLocatedJvm(std::string& javaExecutable, std::string& version, const std::string& minimum,
                    const std::string& maximum) {
    Candidate user, machine;
    const bool u = scanLocatedRecords(RegistryRoot::CurrentUser, user, minimum, maximum);
    const bool l = scanLocatedRecords(RegistryRoot::LocalMachine, machine, minimum, maximum);
    if (!u && !l) return false;
    const Candidate& chosen = u && (!l || user.version > machine.version) ? user : machine;
    javaExecutable = chosen.executable;
    version = chosen.version;
    return true;
}

bool readCachedVersion(const std::string& executable, const FileTime& lastWriteTime, std::string& version) {
    const std::string key = cacheKey(executable);
    std::string stored;
    if (!readRegistryBytes(RegistryRoot::CurrentUser, key, "LastWriteTime", 8, stored)) return false;
    if (stored != fileTimeBytes(lastWriteTime)) return false;
    return readRegistryText(RegistryRoot::CurrentUser, key, "Version", kTextBuffer, version);
}

void writeCachedVersion(const std::string& executable, const FileTime& lastWriteTime, const std::string& version) {
    writeRegistryValues(RegistryRoot::CurrentUser, cacheKey(executable),
                        {{"LastWriteTime", true, fileTimeBytes(lastWriteTime)}, {"Version", false, version}});
}

}  // namespace vexal
