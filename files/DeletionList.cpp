#include "files/DeletionList.h"

namespace vexal {

namespace {
constexpr char kTerminator = ';';
}  // namespace

std::vector<std::string> parseDeletionList(const std::string& value) {
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find(kTerminator, start);
        if (end == std::string::npos) end = value.size();
        if (end > start) paths.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

std::string formatDeletionList(const std::vector<std::string>& paths) {
    std::string value;
    for (const std::string& path : paths) {
        if (path.empty()) continue;
        value += path;
        value += kTerminator;
    }
    return value;
}

std::string appendToDeletionList(const std::string& value, const std::string& path, std::size_t limit) {
    // A ";" inside a path would split it into two wrong entries on reading,
    // and one of them could name an unrelated file.
    if (path.empty() || path.find(kTerminator) != std::string::npos || path.size() + 1 > limit) return value;

    std::string appended = value;
    if (!appended.empty() && appended.back() != kTerminator) appended += kTerminator;
    appended += path;
    appended += kTerminator;
    if (appended.size() <= limit) return appended;

    // Full: drop the oldest entries until the new one fits behind the rest.
    std::vector<std::string> paths = parseDeletionList(value);
    std::size_t total = path.size() + 1;
    for (const std::string& p : paths) total += p.size() + 1;
    std::size_t first = 0;
    while (total > limit) total -= paths[first++].size() + 1;
    paths.erase(paths.begin(), paths.begin() + static_cast<std::ptrdiff_t>(first));
    paths.push_back(path);
    return formatDeletionList(paths);
}

namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool equalsIgnoringCase(const std::string& text, std::size_t at, const char* word) {
    for (std::size_t i = 0; word[i] != '\0'; ++i) {
        if (at + i >= text.size()) return false;
        char c = text[at + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

// The length of the run of characters from at that satisfy test.
template <typename Test>
std::size_t runLength(const std::string& text, std::size_t at, Test test) {
    std::size_t n = 0;
    while (at + n < text.size() && test(text[at + n])) ++n;
    return n;
}

}  // namespace

// The random number of a directory name: every 64-bit value fits.
constexpr std::size_t kExtractionNumberDigits = 20;

bool isExtractionDirectoryPath(const std::string& path) {
    // Absolute: a drive ("c:\") or a network share ("\\server\").
    const bool drive = path.size() > 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool share = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    if (!drive && !share) return false;
    const std::size_t slash = path.find_last_of("\\/");
    const std::string name = path.substr(slash + 1);
    if (!equalsIgnoringCase(name, 0, "vxl")) return false;
    std::size_t at = 3;
    const std::size_t hex = runLength(name, at, isHexDigit);
    if (hex < 1 || hex > 4) return false;
    at += hex;
    if (!equalsIgnoringCase(name, at, ".tmp_dir")) return false;
    at += 8;
    const std::size_t digits = runLength(name, at, isDigit);
    return (digits == kExtractionNumberDigits || (digits >= 1 && digits <= 5)) && at + digits == name.size();
}

std::string extractionDirectoryPath(const std::string& tempFileName, std::uint64_t number) {
    std::string digits = std::to_string(number);
    digits.insert(0, kExtractionNumberDigits - digits.size(), '0');
    return tempFileName + "_dir" + digits;
}

}  // namespace vexal
