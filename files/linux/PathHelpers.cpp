#include "files/PathHelpers.h"

#include <sys/stat.h>
#include <unistd.h>

#include "files/PathLogic.h"

// Linux paths keep their case and have one spelling; the Windows-only
// conversions (short and long forms, lower case) leave them as they are.

namespace vexal {

namespace {

std::string readOwnExePath() {
    std::string buffer(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", &buffer[0], buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return std::string();
    buffer.resize(static_cast<std::size_t>(n));
    return collapseSeparators(buffer);
}

}  // namespace

const std::string& ownExePath() {
    static const std::string path = readOwnExePath();
    return path;
}

const std::string& executableDirectory() {
    static const std::string directory = [] {
        const std::string& exe = ownExePath();
        const std::size_t slash = exe.rfind('/');
        return slash == std::string::npos ? std::string("/") : exe.substr(0, slash + 1);
    }();
    return directory;
}

std::string absolutePath(const std::string& path, bool) {
    std::string full = resolveAgainstExeDir(path);
    if (full.empty() || full[0] != '/') {
        std::string current(4096, '\0');
        if (getcwd(&current[0], current.size()) != nullptr) {
            current.resize(current.find('\0'));
            full = current + "/" + full;
        }
    }
    return normalizeLinuxPath(full);
}

std::string toLowerPath(const std::string& path) { return path; }

std::string collapseBackslashPath(const std::string& path) { return collapseSeparators(path); }

bool pathExists(const std::string& path) { return findFile(path, nullptr); }

// The modification time as a count of 100 ns steps since 1601, the unit of
// the Windows file times that the version cache keeps.
bool findFile(const std::string& path, FileTime* lastWriteTime) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return false;
    if (lastWriteTime != nullptr) {
        constexpr std::uint64_t kEpochDifference = 11644473600ull;
        const std::uint64_t ticks = (static_cast<std::uint64_t>(info.st_mtim.tv_sec) + kEpochDifference) * 10000000ull +
                                    static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
        lastWriteTime->low = static_cast<std::uint32_t>(ticks);
        lastWriteTime->high = static_cast<std::uint32_t>(ticks >> 32);
    }
    return true;
}

std::string longPathName(const std::string& path) { return pathExists(path) ? path : std::string(); }

}  // namespace vexal
