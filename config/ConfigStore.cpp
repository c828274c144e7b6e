#include "config/ConfigStore.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "common/Format.h"

namespace vexal {

void ConfigStore::setNarrow(std::int32_t id, std::string value) { narrow_[id] = std::move(value); }

void ConfigStore::setWide(std::int32_t id, std::u16string value) { wide_[id] = std::move(value); }

std::string ConfigStore::narrow(std::int32_t id, std::size_t bufferSize) const {
    auto it = narrow_.find(id);
    if (it == narrow_.end()) return std::string();
    return fitBuffer(it->second, bufferSize);
}

std::u16string ConfigStore::wide(std::int32_t id) const {
    auto it = wide_.find(id);
    return it == wide_.end() ? std::u16string() : it->second;
}

void ConfigStore::clear() {
    narrow_.clear();
    wide_.clear();
}

ConfigStore& configStore() {
    static ConfigStore store;
    return store;
}

std::string configString(std::int32_t id, std::size_t bufferSize) {
    return configStore().narrow(id, bufferSize);
}

std::int32_t configInt(std::int32_t id) { return parseDecimal(configString(id)); }

std::uint32_t configColor(std::int32_t id) { return parseColor(configString(id)); }

std::u16string configWideString(std::int32_t id) { return configStore().wide(id); }

std::int32_t parseDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT32_MAX) + 1) value = static_cast<long long>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::uint32_t parseColor(const std::string& text) {
    std::uint32_t components[3] = {0, 0, 0};
    std::size_t start = 0;
    for (int c = 0; c < 3 && start <= text.size(); ++c) {
        std::size_t comma = text.find(',', start);
        std::string piece = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::int32_t v = parseDecimal(piece);
        components[c] = static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return components[0] + components[1] * 256u + components[2] * 65536u;
}

}  // namespace vexal
