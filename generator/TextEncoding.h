#pragma once
#include <string>

#include "common/Utf8.h"  // utf8ToUtf16, utf16ToUtf8

namespace vexal {
namespace gen {

// Project files are UTF-8. Narrow entries are read by the launcher in the
// ANSI code page; the generator writes them in Windows-1252, the code page
// of Western-European Windows, which holds ASCII unchanged.

// Converts UTF-8 to Windows-1252. Returns false (and leaves the offending
// character in badCharacter, as UTF-8) when the text is not valid UTF-8 or
// holds a character that the code page lacks.
bool utf8ToCp1252(const std::string& text, std::string& out, std::string& badCharacter);

// Converts Windows-1252 to UTF-8 (for listings); bytes that the code page
// leaves undefined become U+FFFD.
std::string cp1252ToUtf8(const std::string& text);

}  // namespace gen
}  // namespace vexal
