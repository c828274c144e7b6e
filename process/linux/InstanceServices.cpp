#include "process/InstanceServices.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "common/ProcessId.h"
#include "common/StoreName.h"
#include "common/linux/StateDirectory.h"

// Single instance on Linux: the marker is an flock'ed file in the per-user
// store ("instances/"), which the kernel releases however the process ends;
// the process id is kept in "pids/", one file per identity.

namespace vexal {

namespace {

int gMarker = -1;  // held for the life of the process

std::string pidFile(const std::string& identity) {
    const std::string dir = stateSubdirectory("pids");
    return dir.empty() ? dir : dir + storeFileName(identity);
}

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool createInstanceMarker(const std::string& name) {
    const std::string dir = stateSubdirectory("instances");
    if (dir.empty()) return true;
    const std::string path = dir + storeFileName(name);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return !held;
    }
    gMarker = fd;
    return true;
}

std::uint32_t readInstancePid(const std::string& identity) {
    const std::string path = pidFile(identity);
    if (path.empty()) return 0;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return 0;
    unsigned char bytes[5];
    const ssize_t n = read(fd, bytes, sizeof bytes);
    close(fd);
    if (n != 4) return 0;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Written to a fresh file and renamed over the old one, so that a reader
// never sees a half-written id.
void writeInstancePid(const std::string& identity) {
    const std::string path = pidFile(identity);
    if (path.empty()) return;
    const std::uint32_t pid = static_cast<std::uint32_t>(currentProcessId());
    const unsigned char bytes[4] = {static_cast<unsigned char>(pid), static_cast<unsigned char>(pid >> 8),
                                    static_cast<unsigned char>(pid >> 16), static_cast<unsigned char>(pid >> 24)};
    const std::string fresh = path + ".new" + std::to_string(pid);
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    const bool written = writeAll(fd, bytes, sizeof bytes);
    close(fd);
    if (!written || rename(fresh.c_str(), path.c_str()) != 0) unlink(fresh.c_str());
}

bool processRunning(std::uint32_t processId) {
    if (processId == 0) return false;
    return kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

// UTF-16LE whatever the byte order of the machine, no byte-order mark.
bool writeCommunicationFile(const std::string& path, const std::u16string& text) {
    if (path.empty()) return false;
    std::string fresh = path + ".XXXXXX";
    const int fd = mkostemp(&fresh[0], O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const std::u16string line = text + u'\n';
    std::string bytes;
    bytes.reserve(line.size() * 2);
    for (char16_t c : line) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    const bool written = writeAll(fd, bytes.data(), bytes.size());
    const bool closed = close(fd) == 0;
    if (written && closed && rename(fresh.c_str(), path.c_str()) == 0) return true;
    unlink(fresh.c_str());
    return false;
}

void sleepMilliseconds(unsigned milliseconds) {
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

}  // namespace vexal
