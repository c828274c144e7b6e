#include "files/PathLogic.h"

#include <cctype>

namespace vexal {

bool isRelativePath(const std::string& path) {
    const std::size_t at = !path.empty() && path[0] == '"' ? 1 : 0;
    if (path.size() < 3 + at) return true;
    if (path[at + 1] == ':' && path[at + 2] == '\\') return false;
    if (path[at] == '\\' && path[at + 1] == '\\') return false;
    return true;
}

bool isRelativePath(const std::string& path, const PathStyle& style) {
    if (style.dir == '\\') return isRelativePath(path);
    const std::size_t at = !path.empty() && path[0] == '"' ? 1 : 0;
    return path.size() <= at || path[at] != style.dir;
}

std::string joinToExeDir(const std::string& exeDir, const std::string& path, const PathStyle& style) {
    return isRelativePath(path, style) ? exeDir + path : path;
}

std::string collapseSeparators(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

std::string normalizeLinuxPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::vector<std::string> parts;
    for (const std::string& part : splitList(path, '/')) {
        if (part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string& part : parts) out += '/' + part;
    if (out.empty() || path.back() == '/') out += '/';
    if (out.size() > 1 && out.back() == '/' && out[out.size() - 2] == '/') out.pop_back();
    return out;
}

std::u16string collapseBackslashes(const std::u16string& path) {
    std::u16string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        // Only the first two characters may both be backslashes.
        if (i >= 2 && path[i] == u'\\' && out.back() == u'\\') continue;
        out.push_back(path[i]);
    }
    return out;
}

std::string joinToExeDir(const std::string& exeDir, const std::string& path) {
    return isRelativePath(path) ? exeDir + path : path;
}

bool isDriveRootSpelling(const std::string& path) {
    if (path.empty()) return false;
    const std::string rest = path.substr(1);
    return rest == ":\\" || rest == ":\\." || rest == ":\\.\\.";
}

std::vector<std::string> splitList(const std::string& list, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(separator, start);
        if (end == std::string::npos) end = list.size();
        if (end > start) pieces.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

namespace {

bool isSlash(char c) { return c == '\\' || c == '/'; }

bool isAbsoluteWindowsDirectory(const std::string& path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                       isSlash(path[2]);
    const bool share = path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]) && !isSlash(path[2]);
    return drive || share;
}

std::string trimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The pieces of a Windows PATH value: a semicolon inside double quotes
// belongs to its piece, and the quotes themselves go.
std::vector<std::string> windowsPathPieces(const std::string& pathValue) {
    std::vector<std::string> pieces(1);
    bool quoted = false;
    for (char c : pathValue) {
        if (c == '"') quoted = !quoted;
        else if (c == ';' && !quoted) pieces.emplace_back();
        else pieces.back() += c;
    }
    return pieces;
}

}  // namespace

std::vector<std::string> executableSearchDirectories(const std::string& pathValue, const PathStyle& style) {
    std::vector<std::string> directories;
    if (style.dir != '\\') {
        for (const std::string& piece : splitList(pathValue, style.list)) {
            if (piece[0] == '/') directories.push_back(piece);
        }
        return directories;
    }
    for (const std::string& piece : windowsPathPieces(pathValue)) {
        const std::string directory = trimBlanks(piece);
        if (isAbsoluteWindowsDirectory(directory)) directories.push_back(directory);
    }
    return directories;
}

std::string mapPathList(const std::string& list, const std::function<std::string(const std::string&)>& resolve) {
    return mapPathList(list, resolve, kWindowsPathStyle);
}

std::string mapPathList(const std::string& list, const std::function<std::string(const std::string&)>& resolve,
                        const PathStyle& style) {
    std::string out;
    bool first = true;
    for (const std::string& piece : splitList(list, style.list)) {
        if (!first) out += style.list;
        out += resolve(piece);
        first = false;
    }
    return out;
}

bool hasExeSuffix(const std::string& path) {
    if (path.size() < 4) return false;
    const char* expected = ".exe";
    for (std::size_t i = 0; i < 4; ++i) {
        char c = path[path.size() - 4 + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != expected[i]) return false;
    }
    return true;
}

}  // namespace vexal
