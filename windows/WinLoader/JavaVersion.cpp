#include "windows/WinLoader/JavaVersion.h"

#include <algorithm>
#include <cstring>

namespace vexal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The pieces of a version text: runs of digits, and single other bytes.
std::vector<std::string> versionPieces(const std::string& text) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i + 1;
        if (isDigit(text[i])) {
            while (end < text.size() && isDigit(text[end])) ++end;
        }
        pieces.push_back(text.substr(i, end - i));
        i = end;
    }
    return pieces;
}

// Digit runs by value, of any length (no overflow): leading zeros go, then
// the longer run is the greater number.
int compareNumbers(const std::string& left, const std::string& right) {
    const std::size_t l = std::min(left.find_first_not_of('0'), left.size());
    const std::size_t r = std::min(right.find_first_not_of('0'), right.size());
    const std::size_t leftDigits = left.size() - l, rightDigits = right.size() - r;
    if (leftDigits != rightDigits) return leftDigits < rightDigits ? -1 : 1;
    return left.compare(l, std::string::npos, right, r, std::string::npos);
}

int comparePiece(const std::string& left, const std::string& right) {
    if (isDigit(left[0]) && isDigit(right[0])) return compareNumbers(left, right);
    // std::string orders bytes as unsigned char.
    return left.compare(right);
}

// The first n pieces of text against those of bound; a text that ends first
// sorts first.
int comparePieces(const std::vector<std::string>& text, const std::vector<std::string>& bound, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const bool textEnded = i >= text.size(), boundEnded = i >= bound.size();
        if (textEnded || boundEnded) return textEnded == boundEnded ? 0 : (textEnded ? -1 : 1);
        const int order = comparePiece(text[i], bound[i]);
        if (order != 0) return order < 0 ? -1 : 1;
    }
    return 0;
}

int compareFirstPieces(const std::string& text, const std::string& bound, std::size_t n) {
    return comparePieces(versionPieces(text), versionPieces(bound), n);
}

std::size_t pieceCount(const std::string& text) { return versionPieces(text).size(); }

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

int compareVersions(const std::string& left, const std::string& right) {
    const std::vector<std::string> a = versionPieces(left), b = versionPieces(right);
    return comparePieces(a, b, std::max(a.size(), b.size()));
}

bool versionInRange(const std::string& version, const std::string& minimum, const std::string& maximum,
                    bool acceptBeta, bool betaEnabled) {
    if (!acceptBeta && !betaEnabled && version.find("beta") != std::string::npos) return false;
    if (compareFirstPieces(version, minimum, pieceCount(minimum)) < 0) return false;
    if (compareFirstPieces(version, maximum, pieceCount(maximum)) > 0) return false;
    return true;
}

bool versionPrefixInRange(const std::string& name, const std::string& minimum, const std::string& maximum) {
    const std::size_t pieces = pieceCount(name);
    if (compareFirstPieces(name, minimum, std::min(pieceCount(minimum), pieces)) < 0) return false;
    if (compareFirstPieces(name, maximum, std::min(pieceCount(maximum), pieces)) > 0) return false;
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
