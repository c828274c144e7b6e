#pragma once
#include <string>

namespace vexal {

// UTF-8 and UTF-16, platform-neutral: the generator's project texts and the
// Linux text conversions use them.

// Decodes one code point at i and moves i behind it; false for malformed
// input (overlong forms, surrogates, values beyond U+10FFFF, cut sequences).
bool decodeUtf8(const std::string& s, std::size_t& i, char32_t& cp);
void appendUtf8(std::string& out, char32_t cp);

// UTF-8 to UTF-16. Malformed input gives false; with lenient set it is
// replaced by U+FFFD and the conversion goes on (the result is still false).
bool utf8ToUtf16(const std::string& text, std::u16string& out, bool lenient = false);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD and clears lossless.
std::string utf16ToUtf8(const std::u16string& text, bool* lossless = nullptr);

}  // namespace vexal
