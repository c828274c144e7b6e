#pragma once
#include <string>

#include "common/Utf8.h"

namespace vexal {
namespace gen {

// Windows' UTF-16 texts and the generator's UTF-8, through common/Utf8.
inline std::wstring wideText(const std::string& utf8) {
    std::u16string wide;
    utf8ToUtf16(utf8, wide, true);
    return std::wstring(wide.begin(), wide.end());
}

inline std::string utf8Text(const std::wstring& wide) {
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace gen
}  // namespace vexal
