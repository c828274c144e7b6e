#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>

namespace vexal {

// printf-style formatting into a std::string of any length.
std::string format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string vformat(const char* fmt, va_list args);

// The text as a C buffer of bufferSize bytes would hold it: at most
// bufferSize - 1 bytes, cut at the end.
std::string fitBuffer(std::string text, std::size_t bufferSize);

}  // namespace vexal
