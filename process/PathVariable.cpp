#include "process/PathVariable.h"

namespace vexal {

namespace {

// The leading entries of a separated text that fit into room bytes,
// without a separator of their own at the end.
std::string leadingEntries(const std::string& text, std::size_t room, char separator) {
    if (text.size() <= room) return text;
    const std::size_t end = text.rfind(separator, room);
    return end == std::string::npos ? std::string() : text.substr(0, end);
}

}  // namespace

PathValue composePathValue(const std::string& list, const std::string& oldPath, std::size_t bufferSize) {
    return composePathValue(list, oldPath, kWindowsPathStyle, bufferSize);
}

PathValue composePathValue(const std::string& list, const std::string& oldPath, const PathStyle& style,
                           std::size_t bufferSize) {
    const char separator = style.list;
    PathValue result;
    if (list.empty()) {
        result.value = oldPath;
        return result;
    }
    const std::size_t room = bufferSize - 1;
    std::string prefix = list.back() == separator ? list : list + separator;
    if (prefix.size() > room) {
        prefix = leadingEntries(prefix, room - 1, separator) + separator;
        if (prefix.size() == 1) prefix.clear();
        result.cut = true;
    }
    std::string rest = leadingEntries(oldPath, room - prefix.size(), separator);
    if (rest.size() < oldPath.size()) result.cut = true;
    result.value = prefix + rest;
    return result;
}

}  // namespace vexal
