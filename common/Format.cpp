#include "common/Format.h"

#include <cstdio>

namespace vexal {

std::string vformat(const char* fmt, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int needed = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (needed <= 0) return std::string();
    std::string out(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), fmt, args);
    out.resize(static_cast<std::size_t>(needed));
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = vformat(fmt, args);
    va_end(args);
    return out;
}

std::string fitBuffer(std::string text, std::size_t bufferSize) {
    if (bufferSize == 0) return std::string();
    if (text.size() > bufferSize - 1) text.resize(bufferSize - 1);
    return text;
}

}  // namespace vexal
