#include "config/LogFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "common/EnvironmentVars.h"

namespace vexal {

namespace {

std::string logDirectory() {
    std::string tmp;
    struct stat info {};
    if (getEnvironmentValue("TMP", tmp) && !tmp.empty() && stat(tmp.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        if (tmp.back() != '/') tmp += '/';
        return tmp;
    }
    return "/tmp/";
}

}  // namespace

namespace {

// mkstemp creates the file exclusively (O_EXCL: never an existing file or a
// link) with mode 0600.
std::FILE* createIn(const std::string& directory, std::string& path) {
    std::string candidate = directory + "kvl_nlog_XXXXXX";
    const int fd = mkstemp(&candidate[0]);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "w");
    if (file == nullptr) {
        close(fd);
        unlink(candidate.c_str());
        return nullptr;
    }
    path = candidate;
    return file;
}

}  // namespace

std::FILE* createUniqueLogFile(std::string& path) {
    const std::string directory = logDirectory();
    std::FILE* file = createIn(directory, path);
    if (file == nullptr && directory != "/tmp/") file = createIn("/tmp/", path);
    return file;
}

std::FILE* fallbackLogStream() { return stderr; }

std::string moduleFileName() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace vexal
