#pragma once
#include <string>
#include <vector>

namespace vexal {

// The deferred deletion list of a per-user store file: one entry a line,
// "d <path>" for a directory, "f <path>" for a file.
struct DeletionEntry {
    char kind;  // 'd' or 'f'
    std::string path;
    bool operator==(const DeletionEntry& other) const { return kind == other.kind && path == other.path; }
};

// The entries of a store text; lines of another form are skipped.
std::vector<DeletionEntry> parseDeletionStore(const std::string& text);

// The store text of the entries. An entry that cannot be stored faithfully
// (an unknown kind, a path that is empty, not absolute or holds a line
// break) is left out.
std::string formatDeletionStore(const std::vector<DeletionEntry>& entries);

// The entries with entry added at the end unless it is there already.
std::vector<DeletionEntry> withDeletionEntry(std::vector<DeletionEntry> entries, const DeletionEntry& entry);

// True when a directory of the store may be removed as a whole: its last
// path element is an extraction directory's name ("vxl_dir" and more). A
// damaged or foreign line can then never take a user's directory with it.
bool isExtractionDirectoryName(const std::string& path);

}  // namespace vexal
