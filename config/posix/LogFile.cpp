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

std::FILE* createUniqueLogFile(std::string& path) {
    std::string candidate = logDirectory() + "kvl_nlog_XXXXXX";
    int fd = mkstemp(&candidate[0]);
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

const char* fallbackLogPath() { return "/tmp/kvl_nlog"; }

std::string moduleFileName() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace vexal
