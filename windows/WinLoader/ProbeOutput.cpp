#include "windows/WinLoader/ProbeOutput.h"

#include <cstdio>

#include "common/Limits.h"
#include "windows/WinLoader/JavaVersion.h"

namespace vexal {

namespace {

std::string stampText(const FileTime& time) {
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", static_cast<unsigned>(time.high), static_cast<unsigned>(time.low));
    return text;
}

}  // namespace

bool versionOfProbeOutput(const std::string& output, std::string& version, std::size_t lineLimit) {
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 10, "Picked up ") != 0) {
            if (lineLimit != std::string::npos && line.size() >= lineLimit) line.resize(lineLimit);
            return parseVersionBanner(line, version);
        }
        start = end + 1;
    }
    return false;
}

std::string formatCachedVersion(const FileTime& lastWriteTime, const std::string& version) {
    return stampText(lastWriteTime) + "\n" + version + "\n";
}

bool parseCachedVersion(const std::string& text, const FileTime& lastWriteTime, std::string& version) {
    const std::string stamp = stampText(lastWriteTime);
    if (text.size() < stamp.size() + 1 || text.compare(0, stamp.size(), stamp) != 0 || text[stamp.size()] != '\n')
        return false;
    const std::size_t begin = stamp.size() + 1;
    const std::size_t end = text.find('\n', begin);
    // An entry cut short (no line end behind the version) is damaged.
    if (end == std::string::npos || end == begin || end - begin > kTextBuffer - 1) return false;
    version = text.substr(begin, end - begin);
    return true;
}

bool isBetterRuntime(const std::string& version, bool haveBest, const std::string& bestVersion) {
    return !haveBest || compareVersions(version, bestVersion) > 0;
}

}  // namespace vexal
