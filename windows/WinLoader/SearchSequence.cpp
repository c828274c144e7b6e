#include "windows/WinLoader/SearchSequence.h"

#include <algorithm>

namespace vexal {

std::vector<SearchLocation> parseSearchSequence(const std::string& sequence) {
    std::vector<SearchLocation> locations;
    std::size_t start = 0;
    while (start <= sequence.size()) {
        std::size_t end = sequence.find(';', start);
        if (end == std::string::npos) end = sequence.size();
        if (end > start) locations.push_back(SearchLocation{sequence[start], sequence.substr(start + 1, end - start - 1)});
        start = end + 1;
    }
    return locations;
}

std::string trimLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

std::string encodeJvmKeyName(const std::string& path) {
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string decodeJvmKeyName(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string javaExecutableDirectory(const std::string& executable, const PathStyle& style) {
    if (style.dir != '\\') {
        const std::size_t slash = executable.rfind(style.dir);
        return slash == std::string::npos ? std::string() : executable.substr(0, slash + 1);
    }
    static const std::string javaw = "javaw.exe";
    const bool isJavaw = executable.size() >= javaw.size() &&
                         executable.compare(executable.size() - javaw.size(), javaw.size(), javaw) == 0;
    const std::size_t drop = isJavaw ? javaw.size() : 8;
    // A path shorter than the file name it should end in has no directory.
    if (executable.size() < drop) return std::string();
    return executable.substr(0, executable.size() - drop);
}

std::string styledPath(const std::string& windowsPath, const PathStyle& style) {
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', style.dir);
    return path;
}

}  // namespace vexal
