#include "generator/TextEncoding.h"

namespace vexal {
namespace gen {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 marks an undefined byte.
const char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes one code point at i; returns false for malformed input.
bool decodeUtf8(const std::string& s, std::size_t& i, char32_t& cp) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t extra;
    char32_t minimum;
    if (c < 0x80) { cp = c; extra = 0; minimum = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; minimum = 0x80; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; minimum = 0x800; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; minimum = 0x10000; }
    else return false;
    if (i + extra >= s.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

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

bool utf8ToUtf16(const std::string& text, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!decodeUtf8(text, i, cp)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return true;
}

std::string utf16ToUtf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace gen
}  // namespace vexal
