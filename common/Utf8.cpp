#include "common/Utf8.h"

namespace vexal {

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

bool utf8ToUtf16(const std::string& text, std::u16string& out, bool lenient) {
    out.clear();
    bool valid = true;
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        if (!decodeUtf8(text, i, cp)) {
            valid = false;
            if (!lenient) return false;
            cp = 0xFFFD;
            ++i;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return valid;
}

std::string utf16ToUtf8(const std::u16string& text, bool* lossless) {
    if (lossless) *lossless = true;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
            if (lossless) *lossless = false;
        }
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace vexal
