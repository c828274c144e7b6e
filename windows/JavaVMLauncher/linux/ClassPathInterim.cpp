// Interim Linux services of the class path and the environment block,
// replaced by the Linux class-path work.
#include <dirent.h>
#include <unistd.h>

#include "windows/JavaVMLauncher/ClassPath.h"
#include "windows/JavaVMLauncher/EnvironmentBlock.h"

extern char** environ;

namespace vexal {

// The names of the directory's files that end in "." + extension, as
// readdir gives them.
std::vector<std::string> listArchives(const std::string& directory, const std::string& extension) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return names;
    const std::string suffix = "." + extension;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    closedir(dir);
    return names;
}

std::vector<std::string> environmentBlock() {
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) entries.push_back(*entry);
    return entries;
}

}  // namespace vexal
