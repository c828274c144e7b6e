#pragma once
// Helpers shared by the fuzz targets: splitting one input into several
// fields and stating properties that must hold for every input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A property every input must keep; a violation aborts like a crash so the
// fuzzer keeps the input. Independent of NDEBUG.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

namespace vexal {
namespace fuzz {

inline std::string bytesOf(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The input cut at every NUL byte into at most count fields; the last field
// keeps the rest (NUL bytes included). Missing fields are empty.
inline std::vector<std::string> fields(const std::string& input, std::size_t count) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (out.size() + 1 < count) {
        const std::size_t end = input.find('\0', start);
        if (end == std::string::npos) break;
        out.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    out.push_back(start <= input.size() ? input.substr(start) : std::string());
    out.resize(count);
    return out;
}

// Bytes as little-endian UTF-16 code units (an odd last byte is dropped).
inline std::u16string utf16Of(const std::string& bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

}  // namespace fuzz
}  // namespace vexal
