#include "common/StoreName.h"

#include <cstdint>

namespace vexal {

namespace {

constexpr std::size_t kMaxName = 200;
constexpr std::size_t kKeptTail = 180;

std::string hashText(const std::string& key) {
    std::uint64_t hash = 1469598103934665603ull;  // 64-bit FNV-1a
    for (unsigned char c : key) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = digits[hash & 0xF];
    return text;
}

}  // namespace

std::string storeFileName(const std::string& key) {
    std::string name;
    for (char c : key) {
        if (c == '%') {
            name += "%25";
        } else if (c == '/') {
            name += "%2F";
        } else {
            name += c;
        }
    }
    if (name.empty() || name == "." || name == "..") name.insert(0, "%");
    if (name.size() > kMaxName) name = hashText(key) + name.substr(name.size() - kKeptTail);
    return name;
}

std::string stateDirectoryFrom(const std::string& xdgStateHome, const std::string& home) {
    if (!xdgStateHome.empty() && xdgStateHome[0] == '/') return xdgStateHome + "/vexal/";
    if (!home.empty() && home[0] == '/') return home + "/.local/state/vexal/";
    return std::string();
}

}  // namespace vexal
