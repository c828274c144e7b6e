#include "files/DeletionStore.h"

#include <algorithm>

namespace vexal {

namespace {

bool storable(const DeletionEntry& entry) {
    return (entry.kind == 'd' || entry.kind == 'f') && !entry.path.empty() && entry.path[0] == '/' &&
           entry.path.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

std::vector<DeletionEntry> parseDeletionStore(const std::string& text) {
    std::vector<DeletionEntry> entries;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() < 3 || line[1] != ' ') continue;
        const DeletionEntry entry{line[0], line.substr(2)};
        if (storable(entry)) entries.push_back(entry);
    }
    return entries;
}

std::string formatDeletionStore(const std::vector<DeletionEntry>& entries) {
    std::string text;
    for (const DeletionEntry& entry : entries) {
        if (!storable(entry)) continue;
        text += entry.kind;
        text += ' ';
        text += entry.path;
        text += '\n';
    }
    return text;
}

std::vector<DeletionEntry> withDeletionEntry(std::vector<DeletionEntry> entries, const DeletionEntry& entry) {
    if (std::find(entries.begin(), entries.end(), entry) == entries.end()) entries.push_back(entry);
    return entries;
}

bool isExtractionDirectoryName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    const std::string name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    return name.size() > 7 && name.compare(0, 7, "vxl_dir") == 0;
}

}  // namespace vexal
