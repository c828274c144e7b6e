// The archives of a directory: the names that end in ".extension"
// (case-sensitive, as Linux file names are), sorted byte-wise so that the
// class path does not depend on the order the file system keeps.
#include "windows/JavaVMLauncher/ClassPath.h"

#include <dirent.h>

#include <algorithm>

#include "windows/JavaVMLauncher/ClassPathLogic.h"

namespace vexal {

std::vector<std::string> listArchives(const std::string& directory, const std::string& extension) {
    std::vector<std::string> names;
    DIR* listing = opendir(directory.c_str());
    if (listing == nullptr) return names;
    while (const dirent* entry = readdir(listing)) {
        if (hasArchiveExtension(entry->d_name, extension)) names.emplace_back(entry->d_name);
    }
    closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vexal
