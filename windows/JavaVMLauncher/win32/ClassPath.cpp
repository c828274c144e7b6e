// The file names of a directory that match *.extension, as the platform's
// directory search delivers them: neither sorted nor filtered.
#include "windows/JavaVMLauncher/ClassPath.h"

#include <windows.h>

#include "windows/JavaVMLauncher/ClassPathLogic.h"

namespace vexal {

std::vector<std::string> listArchives(const std::string& directory, const std::string& extension) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(archivePattern(directory, extension).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return names;
}

}  // namespace vexal
