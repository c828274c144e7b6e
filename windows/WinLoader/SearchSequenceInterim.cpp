// Interim: the search-sequence helpers, until their own unit lands.
#include "windows/WinLoader/SearchSequence.h"

namespace vexal {

std::vector<SearchLocation> parseSearchSequence(const std::string& sequence) {
    std::vector<SearchLocation> locations;
    std::size_t start = 0;
    while (start <= sequence.size()) {
        std::size_t end = sequence.find(';', start);
        if (end == std::string::npos) end = sequence.size();
        if (end > start) locations.push_back({sequence[start], sequence.substr(start + 1, end - start - 1)});
        start = end + 1;
    }
    return locations;
}

std::string trimLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

std::string javaExecutableDirectory(const std::string& executable) {
    const std::string javaw = "javaw.exe";
    const bool isJavaw =
        executable.size() >= javaw.size() && executable.compare(executable.size() - javaw.size(), javaw.size(), javaw) == 0;
    const std::size_t drop = isJavaw ? 9 : 8;
    return executable.size() >= drop ? executable.substr(0, executable.size() - drop) : std::string();
}

}  // namespace vexal
