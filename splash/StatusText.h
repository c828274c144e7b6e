#pragma once
#include <cstddef>
#include <string>

#include "common/Limits.h"

namespace vexal {

// Converts UTF-16 text to the narrow code page; the platform supplies it.
using NarrowConverter = std::string (*)(const std::u16string&);

// The status line as the splash keeps it: the characters before the first
// zero character, at most length of them (none beyond are read), converted
// to narrow text and cut, at a character boundary, to what a buffer of
// bufferSize bytes holds with its terminating zero.
std::string statusLineText(const char16_t* text, std::size_t length, NarrowConverter convert,
                           std::size_t bufferSize = kTextBuffer);

}  // namespace vexal
