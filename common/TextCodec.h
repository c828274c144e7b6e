#pragma once
#include <string>

namespace vexal {

// The one place where texts change their encoding. Narrow texts are in the
// ANSI code page, or in the code page of the file functions (ANSI or OEM) for
// paths; wide texts are UTF-16. A conversion that needs a replacement
// character ("?") reports itself as lossy.
std::u16string ansiToWide(const std::string& text);
std::string wideToAnsi(const std::u16string& text, bool* lossless = nullptr);
std::u16string fileCodePageToWide(const std::string& text);
std::string wideToFileCodePage(const std::u16string& text, bool* lossless = nullptr);

}  // namespace vexal
