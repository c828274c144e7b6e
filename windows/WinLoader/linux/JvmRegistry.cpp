// What the registry gives the JVM search on Windows, on Linux: search letter
// Y walks the system's registered runtimes (the Java homes under
// /usr/lib/jvm), and the version cache keeps one small file per probed
// executable in the per-user store.
#include "windows/WinLoader/JvmRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/StoreName.h"
#include "common/linux/StateDirectory.h"
#include "config/Log.h"
#include "windows/WinLoader/JavaCheck.h"
#include "windows/WinLoader/ProbeOutput.h"

namespace vexal {

namespace {

constexpr const char* kRegisteredRuntimes = "/usr/lib/jvm";

// The entries of the runtime directory, byte-wise sorted (the order the
// file system keeps is arbitrary), without "." and "..".
std::vector<std::string> registeredHomes() {
    std::vector<std::string> homes;
    DIR* listing = opendir(kRegisteredRuntimes);
    if (listing == nullptr) return homes;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") homes.push_back(std::string(kRegisteredRuntimes) + "/" + name);
    }
    closedir(listing);
    std::sort(homes.begin(), homes.end());
    return homes;
}

std::string cacheFile(const std::string& executable) {
    const std::string directory = stateSubdirectory("jvms");
    return directory.empty() ? std::string() : directory + storeFileName(executable);
}

bool readSmallFile(const std::string& path, std::string& text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[8192 + 32];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    close(fd);
    if (n <= 0) return false;
    text.assign(buffer, static_cast<std::size_t>(n));
    return true;
}

}  // namespace

bool checkJavaRegistry(std::string& javaExecutable, const std::string& minimum, const std::string& maximum) {
    bool found = false;
    std::string bestVersion;
    for (const std::string& home : registeredHomes()) {
        std::string executable = javaExeForHome(home);
        std::string version;
        if (!checkJavaExe(executable, version, minimum, maximum, false)) continue;
        if (isBetterRuntime(version, found, bestVersion)) {
            javaExecutable = executable;
            bestVersion = version;
            found = true;
        }
    }
    if (found) logDebug("registered runtime %s (%s)", javaExecutable.c_str(), bestVersion.c_str());
    return found;
}

bool readCachedVersion(const std::string& executable, const FileTime& lastWriteTime, std::string& version) {
    const std::string path = cacheFile(executable);
    std::string text;
    if (path.empty() || !readSmallFile(path, text)) return false;
    return parseCachedVersion(text, lastWriteTime, version);
}

void writeCachedVersion(const std::string& executable, const FileTime& lastWriteTime, const std::string& version) {
    const std::string path = cacheFile(executable);
    if (path.empty() || version.find('\n') != std::string::npos) return;
    // Written beside and renamed over the entry, so that a launcher starting
    // at the same time reads the old entry or the new one, never half of one.
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::string text = formatCachedVersion(lastWriteTime, version);
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) unlink(temporary.c_str());
}

}  // namespace vexal
