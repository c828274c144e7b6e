#include "windows/WinLoader/JavaVersion.h"

#include <algorithm>
#include <cstring>

namespace vexal {

namespace {

// The first n bytes of text against bound as C strncmp compares them: bytes
// as unsigned values, a text that ends first compares its terminating zero.
// std::string comparison orders bytes as unsigned char, and a proper prefix
// sorts first, which is what the terminating zero does.
int compareFirstBytes(const std::string& text, const std::string& bound, std::size_t n) {
    const std::string left = text.substr(0, std::min(n, text.size()));
    const std::string right = bound.substr(0, std::min(n, bound.size()));
    return left.compare(right);
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

bool versionInRange(const std::string& version, const std::string& minimum, const std::string& maximum,
                    bool acceptBeta, bool betaEnabled) {
    if (!acceptBeta && !betaEnabled && version.find("beta") != std::string::npos) return false;
    if (compareFirstBytes(version, minimum, minimum.size()) < 0) return false;
    if (compareFirstBytes(version, maximum, maximum.size()) > 0) return false;
    return true;
}

bool versionPrefixInRange(const std::string& name, const std::string& minimum, const std::string& maximum) {
    if (compareFirstBytes(name, minimum, std::min(minimum.size(), name.size())) < 0) return false;
    if (compareFirstBytes(name, maximum, std::min(maximum.size(), name.size())) > 0) return false;
    return true;
}

bool parseVersionBanner(const std::string& firstLine, std::string& version) {
    // Sun and Oracle runtimes print `java version "1.5.0_06"`; OpenJDK builds
    // print `openjdk version "17.0.15" 2025-04-15`. The version is the text
    // between the quotation marks either way.
    static const char* const prefixes[] = {"java version \"", "openjdk version \""};
    for (const char* prefix : prefixes) {
        if (!startsWith(firstLine, prefix)) continue;
        const std::size_t start = std::strlen(prefix);
        const std::size_t end = firstLine.find('"', start);
        // No closing quote (a line cut short) or nothing between the quotes:
        // the line names no version.
        if (end == std::string::npos || end == start) return false;
        version = firstLine.substr(start, end - start);
        return true;
    }
    return false;
}

}  // namespace vexal
