#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vexal {

// Arguments split from a command-line text; element 0 of the process command
// line is the program name.
using ArgumentList = std::vector<std::u16string>;
using NarrowArgumentList = std::vector<std::string>;

// Appends every argument of text to list: a blank separates, double and
// single quotes group (no escapes), tabs are ordinary characters. A quote
// that is never closed ends the process with message 1007.
void splitArguments(const std::u16string& text, ArgumentList& list);

// Appends the quoted argument that begins at quote position q (argument start
// p) and returns where scanning goes on.
std::size_t takeQuotedArgument(ArgumentList& list, const std::u16string& text, std::size_t q, std::size_t p,
                               char16_t quote);

// splitArguments, then a narrow (ANSI) copy of every element.
void splitNarrowArguments(const std::u16string& text, NarrowArgumentList& list);

// An ANSI text (at most 8192 wide characters after conversion) split into
// narrow arguments.
void splitAnsiArguments(const std::string& text, NarrowArgumentList& list);

}  // namespace vexal
