#include "generator/TextEncoding.h"

#include "common/Utf8.h"

namespace vexal {
namespace gen {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 marks an undefined byte.
const char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool cp1252Byte(char32_t cp, unsigned char& byte) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        byte = static_cast<unsigned char>(cp);
        return true;
    }
    for (int k = 0; k < 32; ++k) {
        if (kHighControls[k] != 0 && kHighControls[k] == cp) {
            byte = static_cast<unsigned char>(0x80 + k);
            return true;
        }
    }
    return false;
}

}  // namespace

bool utf8ToCp1252(const std::string& text, std::string& out, std::string& badCharacter) {
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        std::size_t start = i;
        char32_t cp = 0;
        unsigned char byte = 0;
        if (!decodeUtf8(text, i, cp)) {
            badCharacter = "(invalid UTF-8)";
            return false;
        }
        if (!cp1252Byte(cp, byte)) {
            badCharacter = text.substr(start, i - start);
            return false;
        }
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

std::string cp1252ToUtf8(const std::string& text) {
    std::string out;
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        char32_t cp = c;
        if (c >= 0x80 && c < 0xA0) cp = kHighControls[c - 0x80] ? kHighControls[c - 0x80] : 0xFFFD;
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace gen
}  // namespace vexal
