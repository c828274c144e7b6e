#include "common/TextCodec.h"

#include "common/Utf8.h"

namespace vexal {

// On Linux narrow texts are UTF-8 in every role.

std::u16string ansiToWide(const std::string& text) {
    std::u16string out;
    utf8ToUtf16(text, out, true);
    return out;
}

std::string wideToAnsi(const std::u16string& text, bool* lossless) { return utf16ToUtf8(text, lossless); }

std::u16string fileCodePageToWide(const std::string& text) { return ansiToWide(text); }

std::string wideToFileCodePage(const std::u16string& text, bool* lossless) { return utf16ToUtf8(text, lossless); }

}  // namespace vexal
