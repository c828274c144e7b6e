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

}  // namespace vexal
